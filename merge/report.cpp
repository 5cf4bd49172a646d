#include "merge/report.hpp"

#include <string>

#include "text/strings.hpp"

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
  readKey(line, "Tramvelok - found ", record.nPrimes);
  readKey(line, "Tramvelok - Total gaps : ", record.nGaps);
  if (line.find("... good guess") != std::string_view::npos) {
    record.goodGuess = true;
  }
  if (line.find("... excellent") != std::string_view::npos) {
    record.excellent = true;
  }
  if (line.starts_with("Tramvelok - ") && line.find(primesInMark) != std::string_view::npos) {
    record.nPrimes2 = parsePrimesInCount(line);
  }
  readKey(line, "First prime in range : ", record.firstPrime);
  readKey(line, "Last prime in range : ", record.lastPrime);
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

// The line is walked once, so a table of any length costs time in proportion
// to its length.
void parseGapTable(std::string_view table, GapStats& stats) {
  std::size_t open = table.find('[');
  while (open != std::string_view::npos) {
    const std::size_t next = table.find('[', open + 1);
    const std::string_view item = table.substr(
        open + 1, next == std::string_view::npos ? std::string_view::npos : next - open - 1);
    if (item.empty()) {
      return;
    }
    addTableEntry(stats, parseInteger(item), parseInteger(fieldAt(item, 2, ",")));
    open = next;
  }
}

void parseReport(TextFile& file, ReportRecord& record, GapStats& stats) {
  record.goodGuess = false;
  record.excellent = false;
  std::string line;
  while (!atEnd(file)) {
    readLine(file, line);
    readKeyLine(line, record);
    if (line == gapTableHeader) {
      readLine(file, line);
      parseGapTable(line, stats);
    }
  }
}

}  // namespace gapmerge
