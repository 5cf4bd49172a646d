#pragma once

#include <cstdint>
#include <string>

#include "merge/gap_stats.hpp"

// The texts of the merged results file. Lines are joined with CR LF; the text
// handed to the file has no CR LF after its last line (the file adds it).
namespace gapmerge {

// The 26 lines after one report, headed by the report's upper bound.
void appendReportSections(std::string& text, std::int64_t fileNmax, const StatsBlock& block);

// The range line that opens the closing sections: "lowest - highest".
std::string rangeLine(std::int64_t lowestNmin, std::int64_t highestNmax);

// The closing summary text: the last 36 lines of the file, from the empty line
// before "Gaps [gap, qty]" to "nGaps : " and the histogram total.
std::string closingSummary(const StatsBlock& finalBlock);

// A normalized value as the file writes it: count / divisor in double
// precision with 15 decimals.
std::string fractionText(std::int64_t count, std::int64_t divisor);

}  // namespace gapmerge
