#include "merge/range_order.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "merge/report.hpp"
#include "text/strings.hpp"

namespace gapmerge {

// The list is in path order already, so a stable sort by the lower bound
// alone leaves equal bounds in path order.
void orderReportsByRange(ReportList& reports) {
  std::vector<std::int64_t> lowerBounds;
  lowerBounds.reserve(reports.size());
  for (std::size_t i = 0; i < reports.size(); ++i) {
    ReportRecord names;
    parseReportName(filePart(reports.pathView(i)), names);
    lowerBounds.push_back(names.fileNmin);
  }
  reports.sortStablyByKeys(lowerBounds);
}

bool joinsInRangeOrder(const ReportList& reports) {
  std::vector<BoundRange> ranges;
  ranges.reserve(reports.size());
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const auto range = readNameRange(filePart(reports.pathView(i)));
    if (!range) {
      return false;
    }
    ranges.push_back(*range);
  }
  const auto byLowerBound = [](const BoundRange& a, const BoundRange& b) {
    return a.from < b.from;
  };
  if (std::is_sorted(ranges.begin(), ranges.end(), byLowerBound)) {
    return false;
  }
  std::sort(ranges.begin(), ranges.end(), byLowerBound);
  // The step is taken in unsigned arithmetic, where it is exact for any two bounds.
  return std::adjacent_find(
             ranges.begin(), ranges.end(), [](const BoundRange& before, const BoundRange& after) {
               const auto step =
                   static_cast<std::uint64_t>(after.from) - static_cast<std::uint64_t>(before.to);
               return step > 1;
             }) == ranges.end();
}

}  // namespace gapmerge
