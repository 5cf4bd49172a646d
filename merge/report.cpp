#include "merge/report.hpp"

#include <string>
#include <tuple>

#include "text/strings.hpp"
#include "text/wrap.hpp"

namespace gapmerge {

namespace {

constexpr std::string_view gapTableHeader = "Gaps [gap, qty]";
constexpr std::string_view primesInMark = " primes in ";
constexpr std::string_view foundKey = "Tramvelok - found ";
constexpr std::string_view totalGapsKey = "Tramvelok - Total gaps : ";
constexpr std::string_view firstPrimeKey = "First prime in range : ";
constexpr std::string_view lastPrimeKey = "Last prime in range : ";

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
void readKey(std::string_view line, std::string_view key, std::int64_t& target) {
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

void readKeyLine(std::string_view line, ReportRecord& record) {
  readKey(line, "nmin = ", record.nmin);
  readKey(line, "nmax = ", record.nmax);
  readKey(line, foundKey, record.nPrimes);
  readKey(line, totalGapsKey, record.nGaps);
  if (line.find("... good guess") != std::string_view::npos) {
    record.goodGuess = true;
  }
  if (line.find("... excellent") != std::string_view::npos) {
    record.excellent = true;
  }
  if (line.starts_with("Tramvelok - ") && line.find(primesInMark) != std::string_view::npos) {
    record.nPrimes2 = parsePrimesInCount(line);
  }
  readKey(line, firstPrimeKey, record.firstPrime);
  readKey(line, lastPrimeKey, record.lastPrime);
}

// Tells the listener the values that the line, already read into the record, gave.
void tellKeyLine(std::string_view line, const ReportRecord& record, ReportListener& listener) {
  for (const auto& [key, keyLine, value] :
       {std::tuple{foundKey, KeyLine::nPrimes, record.nPrimes},
        std::tuple{totalGapsKey, KeyLine::nGaps, record.nGaps},
        std::tuple{firstPrimeKey, KeyLine::firstPrime, record.firstPrime},
        std::tuple{lastPrimeKey, KeyLine::lastPrime, record.lastPrime}}) {
    if (line.starts_with(key)) {
      listener.keyValue(keyLine, value);
    }
  }
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

void parseGapTable(std::string_view table, bool whole, GapStats& stats, ReportRecord& record,
                   ReportListener* listener) {
  forEachTableItem(whole ? table : withoutCutItem(table), [&](const TableEntry& entry) {
    addTableEntry(stats, entry.gap, entry.quantity);
    record.gapTableSum = addWrap(record.gapTableSum, entry.quantity);
    if (listener != nullptr) {
      listener->tableItem(entry);
    }
  });
}

void parseReport(TextFile& file, ReportRecord& record, GapStats& stats, ReportListener* listener) {
  record.goodGuess = false;
  record.excellent = false;
  record.gapTableSum = 0;
  std::string line;
  while (!atEnd(file)) {
    readLine(file, line);
    readKeyLine(line, record);
    if (listener != nullptr) {
      tellKeyLine(line, record, *listener);
    }
    if (line == gapTableHeader) {
      const bool whole = readLine(file, line);
      parseGapTable(line, whole, stats, record, listener);
    }
  }
}

}  // namespace gapmerge
