#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "merge/gap_stats.hpp"

// The texts of the merged results file, fileout.txt: the sections after each
// report and the closing sections. Every line ends with CR LF. The closing
// summary, its last lines, is also the first part of the result text, with
// LF line ends.
namespace gapmerge {

// The 26 lines after one report, headed by the report's upper bound.
void appendReportSections(std::string& text, std::int64_t fileNmax, const StatsBlock& block);

// The closing sections: the range line "lowest - highest", "nGaps = " with the
// running gap total, and the closing summary.
std::string closingSections(std::int64_t lowestNmin, std::int64_t highestNmax,
                            std::int64_t runningTotal, const StatsBlock& finalBlock);

// The closing summary: from the empty line before "Gaps [gap, qty]" to
// "nGaps : " and the histogram total, lines joined by lineEnd, with none after
// the last.
std::string closingSummary(const StatsBlock& finalBlock, std::string_view lineEnd);

// A normalized value as the file writes it: count / divisor in double
// precision with 15 decimals.
std::string fractionText(std::int64_t count, std::int64_t divisor);

}  // namespace gapmerge
