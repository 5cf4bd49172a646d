#pragma once

#include <QString>

#include <cstdint>
#include <memory>

#include "merge/run_outcome.hpp"

class QChart;

// The gap chart: the number of gaps of each size, one line series for each
// residue class of the gap size mod 3, counts on a logarithmic axis.
namespace gapmerge {

// "Gaps between consecutive primes, 1 to 100.000.000: 5.761.454 gaps".
QString gapChartTitle(const RunOutcome& outcome);

// The chart of the outcome's histogram. Counts below 1 have no place on the
// logarithmic axis and are left out.
std::unique_ptr<QChart> makeGapChart(const RunOutcome& outcome);

// What a pointer on the point of a gap size is told: the gap, its count and
// its share of all gaps.
QString gapPointText(const RunOutcome& outcome, std::int64_t gap);

}  // namespace gapmerge
