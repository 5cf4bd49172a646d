#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "merge/report.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge {
namespace {

using Entries = std::vector<std::pair<std::int64_t, std::int64_t>>;

// The histogram's non-zero counters after parsing, as (gap, count) pairs.
Entries histogramEntries(const GapStats& stats) {
  Entries entries;
  for (std::size_t gap = 0; gap < stats.histogram.size(); ++gap) {
    if (stats.histogram[gap] != 0) {
      entries.emplace_back(static_cast<std::int64_t>(gap), stats.histogram[gap]);
    }
  }
  return entries;
}

class ReportParser : public ::testing::Test {
 protected:
  void parse(const std::string& bytes) {
    const auto file = dir_.write("Tramvelok report.txt", bytes);
    TextFile report = openTextFile(file.string());
    ASSERT_TRUE(report.isOpen());
    parseReport(report, record_, stats_);
  }

  test::ScratchDir dir_;
  ReportRecord record_;
  GapStats stats_;
};

TEST(ReportName, boundsAreFieldsTwoAndFourWithGroupingMarksDropped) {
  ReportRecord record;
  parseReportName("Tramvelok 1_000_000 to 2.000.000 20261206120000.txt", record);
  EXPECT_EQ(record.fileNmin, 1000000);
  EXPECT_EQ(record.fileNmax, 2000000);
  parseReportName("Tramvelok 5 to", record);
  EXPECT_EQ(record.fileNmin, 5);
  EXPECT_EQ(record.fileNmax, 0);
  parseReportName("Tramvelok  7 to 9", record);
  EXPECT_EQ(record.fileNmin, 0);
  EXPECT_EQ(record.fileNmax, 0);
  parseReportName("Tramvelok  7 12to 9", record);
  EXPECT_EQ(record.fileNmax, 12);
}

TEST_F(ReportParser, readsEveryKeyLineWithDotGroupedNumbers) {
  parse(
      "maxStoredPrimes = 1000\r\n"
      "nmin = 1.000.000.000\r\n"
      "nmax = 2.000.000.000\n"
      "Tramvelok - found 1.234.567 primes in the range\r"
      "Tramvelok - 78.498 primes in 0.25s\r\n"
      "Tramvelok - Total gaps : 1.234.566\r\n"
      "First prime in range : 1.000.000.007\r\n"
      "Last prime in range : 1999999973\r\n");
  EXPECT_EQ(record_.nmin, 1000000000);
  EXPECT_EQ(record_.nmax, 2000000000);
  EXPECT_EQ(record_.nPrimes, 1234567);
  EXPECT_EQ(record_.nPrimes2, 78498);
  EXPECT_EQ(record_.nGaps, 1234566);
  EXPECT_EQ(record_.firstPrime, 1000000007);
  EXPECT_EQ(record_.lastPrime, 1999999973);
}

TEST_F(ReportParser, keysMatchOnlyAtTheStartExactly) {
  parse(
      " nmin = 5\n"
      "nmin =7\n"
      "Nmax = 5\n"
      "nmax = 1,000\n"
      "nmax = 2,000\n"
      "First prime in range : x12\n");
  EXPECT_EQ(record_.nmin, 0);
  EXPECT_EQ(record_.nmax, 2);
  EXPECT_EQ(record_.firstPrime, 0);
}

TEST_F(ReportParser, gradeLinesMayStandAnywhereAndBothOnOneLine) {
  parse("estimate ... good guess and ... excellent\n");
  EXPECT_TRUE(record_.goodGuess);
  EXPECT_TRUE(record_.excellent);
  parse("nothing here\n");
  EXPECT_FALSE(record_.goodGuess);
  EXPECT_FALSE(record_.excellent);
}

TEST_F(ReportParser, gapTableItemsGoToTheHistogramInOrder) {
  parse(
      "Gaps [gap, qty]\r\n"
      "text before [2, 10], [4, 7], [6, 3], \r\n"
      "[8, 100], \r\n"
      "Gaps [gap, qty]\r\n"
      "[2, 1.000], [12,5][[14, 9]\r\n");
  EXPECT_EQ(histogramEntries(stats_), (Entries{{2, 11}, {4, 7}, {6, 3}, {12, 5}}));
  EXPECT_EQ(stats_.runningGapTotal, 26);
}

TEST_F(ReportParser, headerWithTrailingBlanksIsNoHeaderAndTheTableLineIsOrdinary) {
  parse(
      "Gaps [gap, qty] \n"
      "[2, 5], \n"
      "Gaps [gap, qty]\n"
      "nmin = 3\n");
  EXPECT_TRUE(histogramEntries(stats_).empty());
  EXPECT_EQ(record_.nmin, 0);
  parse("Gaps [gap, qty]");
  EXPECT_EQ(stats_.runningGapTotal, 0);
}

TEST_F(ReportParser, itemsWithoutDigitsAreHandedOverAsZero) {
  parse("Gaps [gap, qty]\n[x, 4], [6, y], [, ]\n");
  EXPECT_EQ(histogramEntries(stats_), (Entries{{0, 4}}));
  EXPECT_EQ(stats_.runningGapTotal, 4);
}

TEST_F(ReportParser, valuesPersistAcrossReportsButTheGradeFlagsAreCleared) {
  parse("First prime in range : 11\nLast prime in range : 29\n... good guess\n");
  parse("Last prime in range : 47\n");
  EXPECT_EQ(record_.firstPrime, 11);
  EXPECT_EQ(record_.lastPrime, 47);
  EXPECT_FALSE(record_.goodGuess);
}

TEST_F(ReportParser, primesInCountIsTheTextBetweenTheFirstTwoDashes) {
  parse("Tramvelok - 1.000 - 2 primes in 3s\n");
  EXPECT_EQ(record_.nPrimes2, 1000);
  parse("Tramvelok -  12 primes in 1 primes in 2s\n");
  EXPECT_EQ(record_.nPrimes2, 12);
  parse("Tramvelok - found 5 primes in 2s\n");
  EXPECT_EQ(record_.nPrimes, 5);
  EXPECT_EQ(record_.nPrimes2, 0);
}

}  // namespace
}  // namespace gapmerge
