#pragma once

#include <array>
#include <string_view>

#include "merge/gap_stats.hpp"
#include "merge/report.hpp"

// The expected number of gaps of every size between consecutive primes of a
// range, from the Hardy-Littlewood prime k-tuple conjecture: what a merged
// histogram is held against. docs/model.md gives the model, its sources and
// its measured error.
namespace gapmerge {

// One expected count for every gap size from 0 to maxHistogramGap.
using ExpectedCounts = std::array<double, maxHistogramGap + 1>;

constexpr std::string_view gapModelName = "Hardy-Littlewood prime k-tuple conjecture, sieve form";
constexpr std::string_view gapModelReference =
    "R. P. Brent, The distribution of small gaps between successive primes, Math. Comp. 28 "
    "(1974) 315-324; gapmerge docs/model.md";

// The expected number of gaps between consecutive primes that both lie in
// range, for every gap size: 1 for gap 1 when the range holds 2 and 3, the
// model's count for even gaps, 0 for the rest, for gaps wider than the range
// and for a range whose from is above its to. Never negative, never NaN. The
// model is computed on the first call (a few milliseconds) and kept.
ExpectedCounts expectedGapCounts(const BoundRange& range);

}  // namespace gapmerge
