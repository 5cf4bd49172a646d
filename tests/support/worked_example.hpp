#pragma once

#include <initializer_list>
#include <string>

// The worked example of the merged file, written out by hand: one report of
// 1 to 30 whose gap table lists the gaps 1, 2, 4 and 6 with the quantities 1,
// 4, 3 and 1. Its 26 sections lines and the closing summary, every line ended
// by CR LF.
namespace gapmerge::test {

// Lines joined with CR LF, each line ended by it.
inline std::string crlfLines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

inline const std::string oneReportSections = crlfLines({
    "Mid gaps : Gaps (30) [gap, qty]",
    "[1, 1], [2, 4], [4, 3], [6, 1], ",
    "Total 9 gaps",
    "",
    "Mid gaps : normalized gaps (30) [gap, %]",
    "[1, 0.111111111111111], [2, 0.444444444444444], [4, 0.333333333333333], "
    "[6, 0.111111111111111], ",
    "",
    "Mid gaps : cumulative gaps (30) [gap, qty]",
    "[1, 1], [2, 5], [4, 8], [6, 9], ",
    "",
    "Mid gaps : cumulative normalized gaps (30) [gap, %]",
    "[1, 0.111111111111111], [2, 0.555555555555556], [4, 0.888888888888889], "
    "[6, 1.000000000000000], ",
    "",
    "Mid gaps : modulo results (30) 0 Mod 3 [[6, 1], ]",
    "",
    "Mid gaps : modulo results (30) 1 Mod 3 [[1, 1], [4, 3], ]",
    "",
    "Mid gaps : modulo results (30) 2 Mod 3 [[2, 4], ]",
    "",
    "0 : 1\t1 : 4\t2 : 4\tTotal : 9",
    "",
    "0 Mod 3 [[6, 1.000000000000000], ]",
    "1 Mod 3 [[1, 0.250000000000000], [4, 0.750000000000000], ]",
    "2 Mod 3 [[2, 1.000000000000000], ]",
    "",
    std::string(63, '-'),
});

inline const std::string oneReportSummary = crlfLines({
    "",
    "Gaps [gap, qty]",
    "",
    "[1, 1], [2, 4], [4, 3], [6, 1], ",
    "",
    "Normalized gaps [gap, %]",
    "",
    "[1, 0.111111111111111], [2, 0.444444444444444], [4, 0.333333333333333], "
    "[6, 0.111111111111111], ",
    "",
    "0 Mod 3 [[6, 1], ]",
    "",
    "1 Mod 3 [[1, 1], [4, 3], ]",
    "",
    "2 Mod 3 [[2, 4], ]",
    "",
    "Cumulative gaps",
    "",
    "[1, 1], [2, 5], [4, 8], [6, 9], ",
    "",
    "Normalized cumulative gaps",
    "",
    "[1, 0.111111111111111], [2, 0.555555555555556], [4, 0.888888888888889], "
    "[6, 1.000000000000000], ",
    "",
    "",
    "",
    "0 : 1\t1 : 4\t2 : 4\tTotal : 9",
    "",
    "0 Mod 3 [[6, 1.000000000000000], ]",
    "",
    "1 Mod 3 [[1, 0.250000000000000], [4, 0.750000000000000], ]",
    "",
    "2 Mod 3 [[2, 1.000000000000000], ]",
    "",
    "",
    "",
    "nGaps : 9",
});

}  // namespace gapmerge::test
