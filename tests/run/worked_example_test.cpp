// The merged file and the batch text of small runs, written out by hand.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

const std::string dashes(63, '-');

// Lines joined with CR LF, each line ended by it.
std::string crlfLines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

const std::string oneReportSections = crlfLines({
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
    dashes,
});

const std::string oneReportSummary = crlfLines({
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

// The same text with LF line ends, as the batch view prints it.
std::string withLf(std::string text) {
  std::erase(text, '\r');
  return text;
}

TEST(WorkedExample, oneReportGivesSixtySixLines) {
  ScratchDir dir;
  const std::string name = "Tramvelok 1 to 30 20261206120000.txt";
  dir.write(name,
            "nmin = 1\r\nnmax = 30\r\nTramvelok - found 10 primes\r\n"
            "Tramvelok - 10 primes in 0.001s\r\nTramvelok - Total gaps : 9\r\n"
            "... good guess\r\n... excellent\r\n"
            "First prime in range : 2\r\nLast prime in range : 29\r\n"
            "Gaps [gap, qty]\r\n[1, 1], [2, 4], [4, 3], [6, 1], \r\n");
  const auto result = runGapmerge({"--batch"}, dir.path().string());

  const std::string closing = crlfLines({"1 - 30", "", "nGaps = 9", ""}) + oneReportSummary;
  EXPECT_EQ(readFile(dir.path() / "fileout.txt"), oneReportSections + closing);
  // The estimate for 1 to 30 rounds to 16 primes against 10 found.
  const std::string warnings = name + " : warning : 0.600000000000\t" + name + "\n\n";
  EXPECT_EQ(result.out, withLf(oneReportSummary) + "FileName : " + name +
                            "\nOutputDirectory : " + dir.asWorkingDirectory() + "\n" + warnings);
  EXPECT_EQ(result.exitStatus, 0);
}

// Without a report every list of the summary is empty, every count 0, and
// the range keeps its starting values.
TEST(WorkedExample, noReportGivesTheFortyClosingLinesOnly) {
  ScratchDir dir;
  dir.write("tramvelok lower case.txt", "Gaps [gap, qty]\n[2, 1], \n");
  const auto result = runGapmerge({"--batch"}, dir.path().string());

  std::string summary = std::regex_replace(oneReportSummary, std::regex(R"(\[\d.*, )"), "");
  summary = std::regex_replace(summary, std::regex(R"(: \d+)"), ": 0");
  EXPECT_EQ(readFile(dir.path() / "fileout.txt"),
            crlfLines({"9.223.372.036.854.775.808 - 0", "", "nGaps = 0", ""}) + summary);
  EXPECT_EQ(result.out,
            withLf(summary) + "FileName : \nOutputDirectory : " + dir.asWorkingDirectory() + "\n");
  EXPECT_EQ(result.exitStatus, 0);
}

}  // namespace
}  // namespace gapmerge::test
