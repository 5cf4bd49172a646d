#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "merge/gap_stats.hpp"
#include "merge/table_fingerprint.hpp"

// What the run reads from slice reports: the bounds in a report's name, the
// values of its key lines and its gap table. A report is first read on its
// own, so that many can be read at once; the run then applies the readings
// in report order to one record, which serves the whole run and is never
// cleared: a value a report does not give keeps the last report's value.
namespace gapmerge {

// The integers from..to, both included, as the bounds in report names give them.
struct BoundRange {
  std::int64_t from = 0;
  std::int64_t to = 0;

  friend bool operator==(const BoundRange&, const BoundRange&) = default;
};

struct ReportRecord {
  std::int64_t fileNmin = 0;  // from the name, field 2
  std::int64_t fileNmax = 0;  // from the name, field 4
  std::int64_t nmin = 0;
  std::int64_t nmax = 0;
  std::int64_t nPrimes = 0;   // "Tramvelok - found " line
  std::int64_t nPrimes2 = 0;  // the count on the " primes in " line
  std::int64_t nGaps = 0;
  std::int64_t firstPrime = 0;
  std::int64_t lastPrime = 0;
  bool goodGuess = false;
  bool excellent = false;
  // The sum of the quantities of every gap table item of the report last
  // read, wrapping like every other sum; 0 when a report is opened.
  std::int64_t gapTableSum = 0;
};

// One "[gap, quantity]" item of a gap table.
struct TableEntry {
  std::int64_t gap = 0;
  std::int64_t quantity = 0;

  friend bool operator==(const TableEntry&, const TableEntry&) = default;
};

// What one report says on its own: the bounds in its name, and when it could
// be opened the values of the key lines it has (the last line of a key wins),
// its grade marks and its gap table.
struct ReportReading {
  std::int64_t fileNmin = 0;
  std::int64_t fileNmax = 0;
  bool opened = false;
  std::optional<std::int64_t> nmin;
  std::optional<std::int64_t> nmax;
  std::optional<std::int64_t> nPrimes;
  std::optional<std::int64_t> nPrimes2;
  std::optional<std::int64_t> nGaps;
  std::optional<std::int64_t> firstPrime;
  std::optional<std::int64_t> lastPrime;
  bool goodGuess = false;
  bool excellent = false;
  bool gapTableLine = false;  // a "Gaps [gap, qty]" line, even with an empty table after it
  std::int64_t gapTableSum = 0;
  // The sum of gap times quantity over every item: the distance its gaps
  // span, which is the last prime less the first in an intact report.
  std::int64_t gapSpan = 0;
  // The items whose gap lies outside the histogram, and their quantities summed.
  std::int64_t outsideItems = 0;
  std::int64_t outsideGaps = 0;
  TableFingerprint outsideTable{};  // of those items, for telling a repeated slice from its first
  // The quantities of the items whose gap lies in the histogram, summed by gap
  // size, in the order the sizes first occur; what the histogram takes from
  // this report.
  std::vector<GapCount> gapSums;
  // Every item in order, kept only when asked for (to verify the report).
  std::vector<TableEntry> items;
};

// Sets fileNmin and fileNmax from the space-separated fields 2 and 4 of the
// name, whose digits may be grouped with "_" or ".".
void parseReportName(std::string_view reportName, ReportRecord& record);

// The same two bounds as parseReportName, as a range; none when a bound has no
// digit or the lower bound is above the upper.
std::optional<BoundRange> readNameRange(std::string_view reportName);

// Reads the report at path, which is named by the text after its last "/",
// into reading: the bounds in its name, and when it can be opened its lines.
// A gap table line that was cut short loses its last item when the cut left
// it without its "]". keepItems keeps every table item too.
void readReport(const std::string& path, ReportReading& reading, bool keepItems = false);

// Applies a reading to the run's record: the record takes the name bounds and
// every value the reading has, and for a report that was opened its grade
// marks and table sum.
void applyReading(const ReportReading& reading, ReportRecord& record);

// A slice that holds no prime: its found line says 0 and it gives neither a
// first nor a last prime. It forms no mid gap and leaves the chain of slices
// as it was.
bool isEmptySlice(const ReportReading& reading);

}  // namespace gapmerge
