#pragma once

#include <cstddef>
#include <string>

#include "merge/run_outcome.hpp"

// What a run says about its result on standard error, besides the warnings,
// and the exit status that goes with it. The numbers are grouped with "." as
// in the result text.
namespace gapmerge {

constexpr int exitDone = 0;        // complete, and every file written
constexpr int exitFailed = 1;      // a file could not be written, or no window
constexpr int exitUsage = 2;       // a usage error
constexpr int exitIncomplete = 3;  // merged but incomplete or doubtful, or a check failed

// "gapmerge: 1 link to a folder was not followed (--follow follows links)";
// "" when none was passed over.
std::string linksLine(std::size_t linksNotFollowed);

// The lines after a run: why fileout.txt is not in place, what the
// verification found, and what the merged result lacks; "" for a complete run.
std::string resultLines(const RunOutcome& outcome);

// 1 when a file could not be written, 3 when the result is incomplete or a
// check found a problem, 0 otherwise.
int exitStatusOf(const RunOutcome& outcome);

}  // namespace gapmerge
