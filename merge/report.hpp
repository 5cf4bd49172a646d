#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "merge/gap_stats.hpp"
#include "text/text_file.hpp"

// What the run reads from slice reports: the bounds in a report's name and the
// values of its key lines. One record serves the whole run and is never
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

// The key lines whose values a listener hears.
enum class KeyLine { nPrimes, nGaps, firstPrime, lastPrime };

// Hears what one report says, line by line and item by item: what the
// report itself says, where the record also keeps what earlier reports said.
class ReportListener {
 public:
  ReportListener() = default;
  ReportListener(const ReportListener&) = delete;
  ReportListener& operator=(const ReportListener&) = delete;
  ReportListener(ReportListener&&) = delete;
  ReportListener& operator=(ReportListener&&) = delete;
  virtual ~ReportListener() = default;

  // The value of a key line of the report, as read.
  virtual void keyValue(KeyLine line, std::int64_t value) = 0;
  // One gap table item, in order.
  virtual void tableItem(const TableEntry& entry) = 0;
};

// Sets fileNmin and fileNmax from the space-separated fields 2 and 4 of the
// name, whose digits may be grouped with "_" or ".".
void parseReportName(std::string_view reportName, ReportRecord& record);

// The same two bounds as parseReportName, as a range; none when a bound has no
// digit or the lower bound is above the upper.
std::optional<BoundRange> readNameRange(std::string_view reportName);

// Hands every "[gap, quantity]" item of a gap table line to the statistics,
// in order, up to the first empty item, and adds each quantity to the
// record's gap table sum. A line that was cut short (whole false) loses its
// last item when the cut left it without its "]". A listener hears every item.
void parseGapTable(std::string_view table, bool whole, GapStats& stats, ReportRecord& record,
                   ReportListener* listener = nullptr);

// Reads an opened report to its end into the record, handing every gap table
// item to the statistics as it is split off. A listener hears what the
// report says.
void parseReport(TextFile& file, ReportRecord& record, GapStats& stats,
                 ReportListener* listener = nullptr);

}  // namespace gapmerge
