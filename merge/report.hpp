#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "merge/bound_range.hpp"
#include "merge/gap_stats.hpp"
#include "text/text_file.hpp"

// What the run reads from slice reports: the bounds in a report's name and the
// values of its key lines. One record serves the whole run and is never
// cleared: a value a report does not give keeps the last report's value.
namespace gapmerge {

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

// What one report itself says about the primes of its range: the values of
// the lines it has (none for a line it lacks, even where the record keeps an
// earlier report's value) and its gap table items in order.
struct ReportStatement {
  std::optional<std::int64_t> nPrimes;  // "Tramvelok - found " line
  std::optional<std::int64_t> nGaps;
  std::optional<std::int64_t> firstPrime;
  std::optional<std::int64_t> lastPrime;
  std::vector<TableEntry> table;
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
// last item when the cut left it without its "]". With entries, also appends
// every item there.
void parseGapTable(std::string_view table, bool whole, GapStats& stats, ReportRecord& record,
                   std::vector<TableEntry>* entries = nullptr);

// Reads an opened report to its end into the record, handing every gap table
// item to the statistics as it is split off. With a statement, also notes
// there what this report says.
void parseReport(TextFile& file, ReportRecord& record, GapStats& stats,
                 ReportStatement* statement = nullptr);

}  // namespace gapmerge
