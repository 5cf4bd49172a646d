#pragma once

#include <cstdint>
#include <string>

#include "outcome/run_outcome.hpp"

// The texts that the windows show: the result text, which --batch prints too,
// and the texts of the gap chart.
namespace gapmerge {

// The closing summary, "FileName : " with the last report name,
// "OutputDirectory : " with the working directory, and the warnings, one
// entry per subject. Every line ends with LF, also where a name holds a CR.
std::string resultText(const RunOutcome& outcome);

// "Gaps between consecutive primes, 1 to 100.000.000: 5.761.454 gaps".
std::string chartTitle(const RunOutcome& outcome);

// The name of the chart's series of residue class k of the gap size mod 3:
// "gap ≡ 1 (mod 3): 1.616.471 gaps".
std::string classSeriesName(const RunOutcome& outcome, int k);

// What a pointer on the point of a gap size is told: the gap, its count, its
// share of all gaps, and where the model expects it, the expected count and
// the ratio of the count to it.
std::string gapPointText(const RunOutcome& outcome, std::int64_t gap);

}  // namespace gapmerge
