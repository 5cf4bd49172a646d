#pragma once

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Finding the slice reports below the working directory and putting them in
// processing order.
namespace gapmerge {

constexpr std::string_view reportNamePrefix = "Tramvelok";

// Every file below workingDirectory (which ends with "/") whose name begins
// with reportNamePrefix, in processing order.
std::vector<std::string> findReports(const std::string& workingDirectory);

// Appends the reports in directory and below it, depth first, in listing
// order. Symbolic links to directories are not entered; directories that
// cannot be listed contribute nothing.
void scanDirectory(const std::string& directory, std::vector<std::string>& reports);

// Sorts stably by the ordering key: the path read with "\" for "/" and "#"
// for "_", compared as UTF-16 code units.
void orderReports(std::vector<std::string>& reports);

// The ordering key of one path, as UTF-16 code units.
std::u16string orderingKey(std::string_view path);

// Sorts the reports stably by keys[i], the key of reports[i].
template <typename Key>
void sortByKeys(std::vector<std::string>& reports, const std::vector<Key>& keys) {
  std::vector<std::size_t> order(reports.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  std::vector<std::string> sorted;
  sorted.reserve(reports.size());
  for (const std::size_t index : order) {
    sorted.push_back(std::move(reports[index]));
  }
  reports = std::move(sorted);
}

}  // namespace gapmerge
