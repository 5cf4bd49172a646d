#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "merge/discovery.hpp"
#include "merge/report.hpp"

// How the ranges in the report names cover the integers: what is covered,
// what is missing, what is covered twice, and which names say nothing.
namespace gapmerge {

struct CoveredInterval {
  BoundRange range;
  std::size_t reports = 0;  // the reports whose ranges lie in it
};

struct Coverage {
  std::vector<CoveredInterval> covered;              // maximal, ascending; touching ranges join
  std::vector<BoundRange> holes;                     // between consecutive covered intervals
  std::vector<BoundRange> overlaps;                  // maximal intervals in two or more ranges
  std::vector<std::vector<std::string>> duplicates;  // paths of reports with the same bounds
  std::vector<std::vector<std::size_t>> duplicateReports;  // the same groups, by run position
  std::vector<std::string> unreadable;                     // paths whose name's bounds are not a range
};

// The coverage of the report names, from the bounds that readNameRange reads
// in the name part of each path (paths relative to the run folder, in run
// order). Duplicate groups, with the paths of their reports, come in the order
// of their bounds, the paths in a group and the unreadable paths in run order.
Coverage findCoverage(const std::vector<std::string_view>& reportPaths);

// The coverage of the names of the reports in a report list (run order) found
// below directory (ending with "/").
Coverage coverageOfReports(const ReportList& reports, const std::string& directory);

// The lowest lower and the highest upper bound in the names of the reports,
// as parseReportName reads them: the range line of fileout.txt. 2^63 - 1 and
// 0 without reports.
BoundRange nameBounds(const ReportList& reports);

// True when a range ending at to and one starting at from leave integers
// between them: from lies above to + 1.
bool leavesIntegersBetween(std::int64_t to, std::int64_t from);

// True when the names tile one interval: one covered interval, no overlap
// (so no duplicate) and no unreadable name.
bool tilesOneInterval(const Coverage& coverage);

}  // namespace gapmerge
