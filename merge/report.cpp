#include "merge/report.hpp"

#include <array>
#include <string>
#include <utility>

#include "text/strings.hpp"
#include "text/text_file.hpp"
#include "text/wrap.hpp"

namespace gapmerge {

namespace {

constexpr std::string_view gapTableHeader = "Gaps [gap, qty]";
constexpr std::string_view primesInMark = " primes in ";

// A bound field of the report name without its "_" and "." grouping marks.
std::string nameBoundDigits(std::string_view reportName, std::int64_t field) {
  return replaceAll(replaceAll(fieldAt(reportName, field, " "), "_", ""), ".", "");
}

// The number after a key: "." grouping marks are dropped, text after the
// number is ignored.
std::int64_t parseKeyValue(std::string_view line, std::string_view key) {
  return parseInteger(replaceAll(line.substr(key.size()), ".", ""));
}

// Sets target from the line when the line begins with key.
void readKey(std::string_view line, std::string_view key, std::optional<std::int64_t>& target) {
  if (line.starts_with(key)) {
    target = parseKeyValue(line, key);
  }
}

// "Tramvelok - <count> primes in <time>s": the count between the first and
// second "-" of the text before " primes in ".
std::int64_t parsePrimesInCount(std::string_view line) {
  const std::string_view before = line.substr(0, line.find(primesInMark));
  const std::string count = replaceAll(fieldAt(before, 2, "-"), ".", "");
  return parseInteger(trimSpaces(count));
}

void readKeyLine(std::string_view line, ReportReading& reading) {
  readKey(line, "nmin = ", reading.nmin);
  readKey(line, "nmax = ", reading.nmax);
  readKey(line, "Tramvelok - found ", reading.nPrimes);
  readKey(line, "Tramvelok - Total gaps : ", reading.nGaps);
  if (line.find("... good guess") != std::string_view::npos) {
    reading.goodGuess = true;
  }
  if (line.find("... excellent") != std::string_view::npos) {
    reading.excellent = true;
  }
  if (line.starts_with("Tramvelok - ") && line.find(primesInMark) != std::string_view::npos) {
    reading.nPrimes2 = parsePrimesInCount(line);
  }
  readKey(line, "First prime in range : ", reading.firstPrime);
  readKey(line, "Last prime in range : ", reading.lastPrime);
}

// Hands every "[gap, quantity]" item to take, in order, up to the first empty
// item. The line is walked once, so a table of any length costs time in
// proportion to its length.
template <typename Take>
void forEachTableItem(std::string_view table, const Take& take) {
  std::size_t open = table.find('[');
  while (open != std::string_view::npos) {
    const std::size_t next = table.find('[', open + 1);
    const std::string_view item = table.substr(
        open + 1, next == std::string_view::npos ? std::string_view::npos : next - open - 1);
    if (item.empty()) {
      return;
    }
    take(TableEntry{parseInteger(item), parseInteger(fieldAt(item, 2, ","))});
    open = next;
  }
}

// A line cut short ends inside its last item unless that item got its "]".
std::string_view withoutCutItem(std::string_view table) {
  const std::size_t last = table.rfind('[');
  if (last == std::string_view::npos || table.find(']', last) != std::string_view::npos) {
    return table;
  }
  return table.substr(0, last);
}

// The items of one report summed by gap size as they are split off, so that
// a table of any length costs no more than the histogram; only the sizes met
// are visited again. One for each thread that reads, with its line buffer.
struct TableSums {
  Histogram sums{};
  std::array<bool, maxHistogramGap + 1> met{};
  std::vector<std::size_t> gaps;  // the sizes met, in the order met
  std::string line;

  void add(std::size_t gap, std::int64_t quantity) {
    if (!met[gap]) {
      met[gap] = true;
      gaps.push_back(gap);
    }
    sums[gap] = addWrap(sums[gap], quantity);
  }

  // The sums that are not zero, in the order met, into counts; empties itself.
  void takeInto(std::vector<GapCount>& counts) {
    for (const std::size_t gap : gaps) {
      if (sums[gap] != 0) {
        counts.push_back({static_cast<std::int64_t>(gap), sums[gap]});
      }
      sums[gap] = 0;
      met[gap] = false;
    }
    gaps.clear();
  }
};

// The sums of the calling thread, kept from report to report.
TableSums& threadTableSums() {
  thread_local TableSums sums;
  return sums;
}

}  // namespace

void parseReportName(std::string_view reportName, ReportRecord& record) {
  record.fileNmin = parseInteger(nameBoundDigits(reportName, 2));
  record.fileNmax = parseInteger(nameBoundDigits(reportName, 4));
}

std::optional<BoundRange> readNameRange(std::string_view reportName) {
  const auto from = readInteger(nameBoundDigits(reportName, 2));
  const auto to = readInteger(nameBoundDigits(reportName, 4));
  if (!from || !to || *from > *to) {
    return std::nullopt;
  }
  return BoundRange{*from, *to};
}

void readReport(const std::string& path, ReportReading& reading, bool keepItems) {
  // A fresh reading that keeps the room its lists had.
  std::vector<GapCount> gapSums = std::move(reading.gapSums);
  std::vector<TableEntry> items = std::move(reading.items);
  gapSums.clear();
  items.clear();
  reading = {};
  reading.gapSums = std::move(gapSums);
  reading.items = std::move(items);
  ReportRecord names;
  parseReportName(filePart(path), names);
  reading.fileNmin = names.fileNmin;
  reading.fileNmax = names.fileNmax;
  TextFile file = openTextFile(path);
  if (!file.isOpen()) {
    return;
  }
  reading.opened = true;
  TableSums& sums = threadTableSums();
  const auto take = [&reading, &sums, keepItems](const TableEntry& entry) {
    reading.gapTableSum = addWrap(reading.gapTableSum, entry.quantity);
    reading.gapSpan = addWrap(reading.gapSpan, multiplyWrap(entry.gap, entry.quantity));
    if (entry.gap >= 0 && entry.gap <= maxHistogramGap) {
      sums.add(static_cast<std::size_t>(entry.gap), entry.quantity);
    } else {
      ++reading.outsideItems;
      reading.outsideGaps = addWrap(reading.outsideGaps, entry.quantity);
      addToFingerprint(reading.outsideTable, entry.gap, entry.quantity);
    }
    if (keepItems) {
      reading.items.push_back(entry);
    }
  };
  std::string& line = sums.line;
  while (!atEnd(file)) {
    readLine(file, line);
    readKeyLine(line, reading);
    if (line == gapTableHeader) {
      reading.gapTableLine = true;
      const bool whole = readLine(file, line);
      forEachTableItem(whole ? line : withoutCutItem(line), take);
    }
  }
  sums.takeInto(reading.gapSums);
}

void applyReading(const ReportReading& reading, ReportRecord& record) {
  record.fileNmin = reading.fileNmin;
  record.fileNmax = reading.fileNmax;
  if (!reading.opened) {
    return;
  }
  for (const auto& [value, target] :
       {std::pair{&reading.nmin, &record.nmin}, std::pair{&reading.nmax, &record.nmax},
        std::pair{&reading.nPrimes, &record.nPrimes},
        std::pair{&reading.nPrimes2, &record.nPrimes2}, std::pair{&reading.nGaps, &record.nGaps},
        std::pair{&reading.firstPrime, &record.firstPrime},
        std::pair{&reading.lastPrime, &record.lastPrime}}) {
    if (value->has_value()) {
      *target = **value;
    }
  }
  record.goodGuess = reading.goodGuess;
  record.excellent = reading.excellent;
  record.gapTableSum = reading.gapTableSum;
}

bool isEmptySlice(const ReportReading& reading) {
  return reading.nPrimes == 0 && !reading.firstPrime && !reading.lastPrime;
}

}  // namespace gapmerge
