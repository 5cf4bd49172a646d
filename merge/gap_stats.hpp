#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The run's prime-gap statistics: one histogram of gap sizes 0 to 2000 for the
// whole run, the running gap total, and the blocks of series derived from them.
namespace gapmerge {

constexpr std::int64_t maxHistogramGap = 2000;

// One counter for every gap size from 0 to maxHistogramGap.
using Histogram = std::array<std::int64_t, maxHistogramGap + 1>;

struct GapStats {
  Histogram histogram{};
  std::int64_t runningGapTotal = 0;
  std::int64_t previousLastPrime = 0;  // 0: no mid gap can be formed
  // The gap sizes whose counters were ever changed, ascending: the block
  // after a report visits these alone, not the whole histogram.
  std::vector<std::size_t> changedGaps;
  std::array<bool, maxHistogramGap + 1> changed{};
};

// One listed gap: a gap size whose counter is not zero, with that counter.
struct GapCount {
  std::int64_t gap;
  std::int64_t count;
};

// The histogram as the series see it: its non-zero counters in gap order, the
// divisor of the normalized series, and the sums of the three residue classes
// of the gap size modulo 3.
struct StatsBlock {
  std::vector<GapCount> counts;
  std::int64_t divisor = 0;
  std::array<std::int64_t, 3> classTotals{};
};

// Counts one report's gap table: each sum of the quantities of a gap size in
// the histogram, and the sum of all its quantities, those of gaps outside the
// histogram included, in the running gap total.
void addGapTable(GapStats& stats, const std::vector<GapCount>& gapSums, std::int64_t tableSum);

// Counts the gap from the previous report's last prime to firstPrime and
// returns it; nothing happens (and nothing is returned) while there is no
// previous last prime.
std::optional<std::int64_t> addMidGap(GapStats& stats, std::int64_t firstPrime);

// lastPrime becomes the previous last prime, from which the next report's mid
// gap is measured; 0 cuts the chain.
void keepLastPrime(GapStats& stats, std::int64_t lastPrime);

std::int64_t runningTotal(const GapStats& stats);

// The cumulative block after a report: divisor = running gap total.
void reportSeries(const GapStats& stats, StatsBlock& block);

// The final block: divisor = the sum of all counters (the histogram total).
void finalSeries(const Histogram& histogram, StatsBlock& block);

}  // namespace gapmerge
