#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "outcome/run_outcome.hpp"

// The warning lines of a run: what each failed check, each report that could
// not be merged or verified, and each problem of the merged file or of a
// folder says.
namespace gapmerge {

// The line of one warning about subject, without line end. The lines about a
// report end with its name, as the subject gives it.
std::string warningLine(const Warning& warning, std::string_view subject);

// The lines of an entry, in order.
std::vector<std::string> warningLines(const WarningEntry& entry);

// The warnings text: for each entry its subject, " : ", its lines each ended
// by LF, and entryEnd.
std::string warningsText(const std::vector<WarningEntry>& entries, std::string_view entryEnd);

// What differs between a report and a fresh sieve of its range: "first prime
// 1.010.000.013 in the report, 1.010.000.011 by the sieve", "gap 6 counted 5
// times in the report, 4 times by the sieve", ...
std::string differenceText(const Difference& difference);

}  // namespace gapmerge
