#include "merge/gap_stats.hpp"

#include <algorithm>
#include <cstddef>

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

// Starts a block with no counts listed.
void clearCounts(StatsBlock& block) {
  block.counts.clear();
  block.classTotals = {};
}

// Lists the counter of a gap size when it is not zero and adds it to its
// residue class; returns the counter.
std::int64_t collectCount(const Histogram& histogram, std::size_t gap, StatsBlock& block) {
  const std::int64_t count = histogram[gap];
  if (count != 0) {
    block.counts.push_back({static_cast<std::int64_t>(gap), count});
    auto& classTotal = block.classTotals[gap % 3];
    classTotal = addWrap(classTotal, count);
  }
  return count;
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
  clearCounts(block);
  for (const std::size_t gap : stats.changedGaps) {
    collectCount(stats.histogram, gap, block);
  }
  block.divisor = stats.runningGapTotal;
}

void finalSeries(const Histogram& histogram, StatsBlock& block) {
  clearCounts(block);
  std::int64_t total = 0;
  for (std::size_t gap = 0; gap < histogram.size(); ++gap) {
    total = addWrap(total, collectCount(histogram, gap, block));
  }
  block.divisor = total;
}

}  // namespace gapmerge
