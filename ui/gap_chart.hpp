#pragma once

#include <QString>

#include <cstdint>
#include <memory>

#include "outcome/run_outcome.hpp"

class QChart;

// The gap chart: the number of gaps of each size as points, one colour for
// each residue class of the gap size mod 3, counts on a logarithmic axis
// labelled at the powers of ten, and the counts the model expects as dashed
// lines. Lines join only neighbouring sizes of a class
// that both occur, g and g + 6: the sizes of a class alternate between odd and
// even, and 1 is the only odd gap between primes.
namespace gapmerge {

// Where both are shown, the gap chart takes this many parts of the height
// for the ratio plot's one.
inline constexpr int gapChartShare = 2;

// The chart of the outcome's histogram: per class one point series, named in
// the legend, and one line series for each run of joined sizes, left out of
// it. Counts below 1 have no place on the logarithmic axis and are left out.
std::unique_ptr<QChart> makeGapChart(const RunOutcome& outcome);

// The ratio of the observed to the expected count of every size expected at
// least once, one colour per class, on a linear axis around 1 that holds
// every ratio.
std::unique_ptr<QChart> makeRatioChart(const RunOutcome& outcome);

}  // namespace gapmerge
