#pragma once

#include <string>

#include "outcome/run_outcome.hpp"

// The merged histogram as CSV, for spreadsheets and data frames.
namespace gapmerge {

// The header "gap,count,share,cumulative,cumulative_share,class,expected,ratio"
// and one row for every gap size whose count is not zero, ascending; LF line
// ends. The shares are the texts of the closing "Normalized gaps" and
// "Normalized cumulative gaps" lines of the merged file; class is the gap size
// mod 3; expected is the model's count with 3 decimals, ratio the count over
// it with 6 (empty where nothing is expected).
std::string csvText(const RunOutcome& outcome);

}  // namespace gapmerge
