#include "merge/range_order.hpp"

#include <algorithm>
#include <cstdint>
#include <numeric>
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
  std::vector<std::size_t> order(reports.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  std::vector<std::string> sorted;
  sorted.reserve(reports.size());
  for (const std::size_t index : order) {
    sorted.push_back(std::move(reports[index]));
  }
  reports = std::move(sorted);
}

}  // namespace gapmerge
