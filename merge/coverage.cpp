#include "merge/coverage.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <tuple>

#include "merge/report.hpp"
#include "text/strings.hpp"

namespace gapmerge {

namespace {

// One readable name: its range and its place in run order.
struct NamedRange {
  BoundRange range;
  std::size_t index = 0;
};

// Extends the last interval of list with range when they touch, else appends it.
void joinOrAppend(std::vector<BoundRange>& list, const BoundRange& range) {
  if (!list.empty() && !leavesIntegersBetween(list.back().to, range.from)) {
    list.back().to = std::max(list.back().to, range.to);
  } else {
    list.push_back(range);
  }
}

// The part of range that an earlier range (one starting no later) also
// covers: earlier ranges reach up to reach.
std::optional<BoundRange> sharedPart(const BoundRange& range, std::int64_t reach) {
  if (range.from > reach) {
    return std::nullopt;
  }
  return BoundRange{range.from, std::min(range.to, reach)};
}

// Adds the paths of a run of equal ranges, from begin to end, as one group.
void addDuplicates(const std::vector<NamedRange>& sorted, std::size_t begin, std::size_t end,
                   const std::vector<std::string_view>& paths, Coverage& coverage) {
  if (end - begin < 2) {
    return;
  }
  auto& group = coverage.duplicates.emplace_back();
  auto& reports = coverage.duplicateReports.emplace_back();
  for (std::size_t k = begin; k < end; ++k) {
    group.emplace_back(paths[sorted[k].index]);
    reports.push_back(sorted[k].index);
  }
}

void findDuplicates(const std::vector<NamedRange>& sorted,
                    const std::vector<std::string_view>& paths, Coverage& coverage) {
  std::size_t begin = 0;
  for (std::size_t k = 1; k <= sorted.size(); ++k) {
    if (k == sorted.size() || !(sorted[k].range == sorted[begin].range)) {
      addDuplicates(sorted, begin, k, paths, coverage);
      begin = k;
    }
  }
}

// One sweep in order of lower bounds: the union, and where each range meets
// the ranges before it.
void sweep(const std::vector<NamedRange>& sorted, Coverage& coverage) {
  std::vector<BoundRange> covered;
  std::vector<std::size_t> reports;
  std::int64_t reach = 0;
  for (const auto& [range, index] : sorted) {
    if (!covered.empty()) {
      if (const auto shared = sharedPart(range, reach)) {
        joinOrAppend(coverage.overlaps, *shared);
      }
    }
    const std::size_t before = covered.size();
    joinOrAppend(covered, range);
    if (covered.size() != before) {
      reports.push_back(0);
    }
    ++reports.back();
    reach = covered.back().to;
  }
  for (std::size_t k = 0; k < covered.size(); ++k) {
    coverage.covered.push_back({covered[k], reports[k]});
    if (k > 0) {
      coverage.holes.push_back({covered[k - 1].to + 1, covered[k].from - 1});
    }
  }
}

}  // namespace

Coverage findCoverage(const std::vector<std::string_view>& reportPaths) {
  Coverage coverage;
  std::vector<NamedRange> sorted;
  sorted.reserve(reportPaths.size());
  for (std::size_t index = 0; index < reportPaths.size(); ++index) {
    const std::string_view name = filePart(reportPaths[index]);
    if (const auto range = readNameRange(name)) {
      sorted.push_back({*range, index});
    } else {
      coverage.unreadable.emplace_back(reportPaths[index]);
    }
  }
  std::sort(sorted.begin(), sorted.end(), [](const NamedRange& a, const NamedRange& b) {
    return std::tie(a.range.from, a.range.to, a.index) <
           std::tie(b.range.from, b.range.to, b.index);
  });
  findDuplicates(sorted, reportPaths, coverage);
  sweep(sorted, coverage);
  return coverage;
}

Coverage coverageOfReports(const ReportList& reports, const std::string& directory) {
  // The paths begin with the run folder and one more "/".
  const std::size_t rootLength = directory.size() + 1;
  std::vector<std::string_view> paths;
  paths.reserve(reports.size());
  for (std::size_t i = 0; i < reports.size(); ++i) {
    paths.push_back(reports.pathView(i).substr(rootLength));
  }
  return findCoverage(paths);
}

BoundRange nameBounds(const ReportList& reports) {
  BoundRange bounds{.from = INT64_MAX, .to = 0};
  ReportRecord names;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    parseReportName(filePart(reports.pathView(i)), names);
    bounds.from = std::min(bounds.from, names.fileNmin);
    bounds.to = std::max(bounds.to, names.fileNmax);
  }
  return bounds;
}

// The difference is taken in unsigned arithmetic, where it is exact for any
// two 64-bit bounds with from above to.
bool leavesIntegersBetween(std::int64_t to, std::int64_t from) {
  return from > to && static_cast<std::uint64_t>(from) - static_cast<std::uint64_t>(to) > 1;
}

bool tilesOneInterval(const Coverage& coverage) {
  return coverage.covered.size() == 1 && coverage.overlaps.empty() && coverage.duplicates.empty() &&
         coverage.unreadable.empty();
}

}  // namespace gapmerge
