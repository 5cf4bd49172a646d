#include "merge/gap_stats.hpp"

#include <algorithm>
#include <cstddef>
#include <ranges>

#include "text/wrap.hpp"

namespace gapmerge {

namespace {

bool inHistogram(std::int64_t gap) {
  return gap >= 0 && gap <= maxHistogramGap;
}

// Adds to the counter of a gap size in the histogram, noting the size.
void addToCounter(GapStats& stats, std::int64_t gap, std::int64_t quantity) {
  const auto at = static_cast<std::size_t>(gap);
  if (!stats.changed[at]) {
    stats.changed[at] = true;
    stats.changedGaps.insert(
        std::upper_bound(stats.changedGaps.begin(), stats.changedGaps.end(), at), at);
  }
  stats.histogram[at] = addWrap(stats.histogram[at], quantity);
}

// Lists the non-zero counters among the gap sizes given (ascending) and sums
// the residue classes; returns the sum of all counters.
template <typename Gaps>
std::int64_t collectCounts(const Histogram& histogram, const Gaps& gaps, StatsBlock& block) {
  block.counts.clear();
  block.classTotals = {};
  std::int64_t total = 0;
  for (const std::size_t gap : gaps) {
    const std::int64_t count = histogram[gap];
    if (count == 0) {
      continue;
    }
    block.counts.push_back({static_cast<std::int64_t>(gap), count});
    auto& classTotal = block.classTotals[gap % 3];
    classTotal = addWrap(classTotal, count);
    total = addWrap(total, count);
  }
  return total;
}

}  // namespace

void addGapTable(GapStats& stats, const std::vector<GapCount>& gapSums, std::int64_t tableSum) {
  for (const auto& [gap, sum] : gapSums) {
    if (inHistogram(gap)) {
      addToCounter(stats, gap, sum);
    }
  }
  stats.runningGapTotal = addWrap(stats.runningGapTotal, tableSum);
}

std::optional<std::int64_t> addMidGap(GapStats& stats, std::int64_t firstPrime) {
  if (stats.previousLastPrime == 0) {
    return std::nullopt;
  }
  const std::int64_t gap = subtractWrap(firstPrime, stats.previousLastPrime);
  if (inHistogram(gap)) {
    addToCounter(stats, gap, 1);
  }
  stats.runningGapTotal = addWrap(stats.runningGapTotal, 1);
  return gap;
}

void keepLastPrime(GapStats& stats, std::int64_t lastPrime) {
  stats.previousLastPrime = lastPrime;
}

std::int64_t runningTotal(const GapStats& stats) {
  return stats.runningGapTotal;
}

void reportSeries(const GapStats& stats, StatsBlock& block) {
  collectCounts(stats.histogram, stats.changedGaps, block);
  block.divisor = stats.runningGapTotal;
}

void finalSeries(const Histogram& histogram, StatsBlock& block) {
  block.divisor =
      collectCounts(histogram, std::views::iota(std::size_t{0}, histogram.size()), block);
}

}  // namespace gapmerge
