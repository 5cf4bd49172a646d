#include "merge/range_order.hpp"

#include <cstdint>
#include <utility>

#include "merge/discovery.hpp"
#include "merge/report.hpp"
#include "text/strings.hpp"

namespace gapmerge {

void orderReportsByRange(std::vector<std::string>& reports) {
  std::vector<std::pair<std::int64_t, std::u16string>> keys;
  keys.reserve(reports.size());
  for (const auto& path : reports) {
    ReportRecord names;
    parseReportName(filePart(path), names);
    keys.emplace_back(names.fileNmin, orderingKey(path));
  }
  sortByKeys(reports, keys);
}

}  // namespace gapmerge
