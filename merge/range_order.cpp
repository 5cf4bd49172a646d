#include "merge/range_order.hpp"

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

}  // namespace gapmerge
