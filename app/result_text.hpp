#pragma once

#include <string>

#include "merge/run_outcome.hpp"

// The result text that the window shows and --batch prints.
namespace gapmerge {

// The closing summary, "FileName : " with the last report name,
// "OutputDirectory : " with the working directory, and the warnings, one
// entry per subject; every line end is LF.
std::string resultText(const RunOutcome& outcome);

}  // namespace gapmerge
