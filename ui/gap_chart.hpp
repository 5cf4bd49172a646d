#pragma once

#include <QString>

#include <cstdint>
#include <memory>

#include "merge/run_outcome.hpp"

class QChart;

// The gap chart: the number of gaps of each size as points, one colour for
// each residue class of the gap size mod 3, counts on a logarithmic axis
// labelled at the powers of ten. Lines join only neighbouring sizes of a class
// that both occur, g and g + 6: the sizes of a class alternate between odd and
// even, and 1 is the only odd gap between primes.
namespace gapmerge {

// "Gaps between consecutive primes, 1 to 100.000.000: 5.761.454 gaps".
QString gapChartTitle(const RunOutcome& outcome);

// The chart of the outcome's histogram: per class one point series, named in
// the legend, and one line series for each run of joined sizes, left out of
// it. Counts below 1 have no place on the logarithmic axis and are left out.
std::unique_ptr<QChart> makeGapChart(const RunOutcome& outcome);

// What a pointer on the point of a gap size is told: the gap, its count and
// its share of all gaps.
QString gapPointText(const RunOutcome& outcome, std::int64_t gap);

}  // namespace gapmerge
