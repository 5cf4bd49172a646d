#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/real_data/prime_gaps.hpp"

// Reading back what gapmerge wrote: the closing sections of fileout.txt and
// the text that --batch prints.
namespace gapmerge::test {

struct ClosingTotals {
  GapHistogram gaps;                 // the item list two lines below "Gaps [gap, qty]"
  std::int64_t runningTotal = -1;    // "nGaps = T"
  std::int64_t histogramTotal = -1;  // "nGaps : N", the last line
};

// The values of the closing sections of a merged results file.
ClosingTotals readClosingTotals(const std::string& mergedFile);

// "[2, 10], [4, 7], " gives {2: 10, 4: 7}.
GapHistogram parseGapList(std::string_view items);

struct BatchText {
  std::string summary;  // everything before the "FileName : " line
  std::string fileName;
  std::string outputDirectory;
  std::vector<std::string> warningLines;  // the non-empty lines after the directory
};

BatchText splitBatchText(const std::string& out);

// A line that the estimate check writes, alone or opening a report's entry:
// ["<name> : "]"warning : " deviation with 12 decimals, TAB, report name.
bool isEstimateWarning(const std::string& line);

}  // namespace gapmerge::test
