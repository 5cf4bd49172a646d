#include "merge/gap_stats.hpp"

#include <cstddef>

#include "text/wrap.hpp"

namespace gapmerge {

namespace {

bool inHistogram(std::int64_t gap) {
  return gap >= 0 && gap <= maxHistogramGap;
}

std::int64_t& counterOf(GapStats& stats, std::int64_t gap) {
  return stats.histogram[static_cast<std::size_t>(gap)];
}

// Lists the non-zero counters and sums the residue classes; returns the sum
// of all counters.
std::int64_t collectCounts(const Histogram& histogram, StatsBlock& block) {
  block.counts.clear();
  block.classTotals = {};
  std::int64_t total = 0;
  for (std::size_t gap = 0; gap < histogram.size(); ++gap) {
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
      counterOf(stats, gap) = addWrap(counterOf(stats, gap), sum);
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
    counterOf(stats, gap) = addWrap(counterOf(stats, gap), 1);
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
  collectCounts(stats.histogram, block);
  block.divisor = stats.runningGapTotal;
}

void finalSeries(const Histogram& histogram, StatsBlock& block) {
  block.divisor = collectCounts(histogram, block);
}

}  // namespace gapmerge
