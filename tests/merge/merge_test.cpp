// Report parsing, gap statistics and the per-report checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "merge/checks.hpp"
#include "merge/gap_stats.hpp"
#include "merge/report.hpp"
#include "tests/support/scratch_dir.hpp"
#include "text/number_format.hpp"

namespace gapmerge {
namespace {

void parse(const std::string& bytes, ReportRecord& record, GapStats& stats) {
  const test::ScratchDir dir;
  TextFile report = openTextFile(dir.write("Tramvelok report.txt", bytes).string());
  ASSERT_TRUE(report.isOpen());
  parseReport(report, record, stats);
}

TEST(ReportParser, boundsAreFieldsTwoAndFourOfTheNameWithGroupingMarksDropped) {
  ReportRecord record;
  parseReportName("Tramvelok 1_000_000 to 2.000.000 20261206120000.txt", record);
  EXPECT_EQ(std::pair(record.fileNmin, record.fileNmax), std::pair(1000000L, 2000000L));
  parseReportName("Tramvelok  7 12to 9", record);
  EXPECT_EQ(std::pair(record.fileNmin, record.fileNmax), std::pair(0L, 12L));
}

// Keys match exactly at the line start, numbers may be grouped with "." and
// the last line of a key wins; the " primes in " count lies between the first
// two dashes; the grade words may stand anywhere.
TEST(ReportParser, keyLines) {
  ReportRecord record;
  GapStats stats;
  parse(
      "nmin = 1.000.000.000\r\n nmin = 5\nnmin =7\nNmax = 5\nnmax = 1,000\r"
      "Tramvelok - found 1.234.567 primes in the range\r\n"
      "Tramvelok - 78.498 - 2 primes in 0.25s\r\nTramvelok - Total gaps : 1.234.566\r\n"
      "First prime in range : x12\nLast prime in range : 1999999973\n"
      "estimate ... good guess and ... excellent\n",
      record, stats);
  EXPECT_EQ(std::vector({record.nmin, record.nmax, record.nPrimes, record.nPrimes2, record.nGaps,
                         record.firstPrime, record.lastPrime}),
            std::vector<std::int64_t>({1000000000, 1, 1234567, 78498, 1234566, 0, 1999999973}));
  EXPECT_TRUE(record.goodGuess && record.excellent);

  // Values persist across reports; the grade flags do not.
  parse("Tramvelok -  12 primes in 1 primes in 2s\n", record, stats);
  EXPECT_EQ(record.nPrimes2, 12);
  EXPECT_EQ(record.lastPrime, 1999999973);
  EXPECT_FALSE(record.goodGuess || record.excellent);
}

// Only the line after an exact header is a table, even if it looks like a key;
// numbers in it are not grouped, and items without digits count as zero.
TEST(ReportParser, gapTableItemsGoToTheHistogram) {
  ReportRecord record;
  GapStats stats;
  parse(
      "Gaps [gap, qty] \n[2, 5], \nGaps [gap, qty]\r\ntext before [2, 10], [4, 7], \r\n"
      "[8, 100], \nGaps [gap, qty]\n[2, 1.000], [12,5][[14, 9]\nGaps [gap, qty]\n"
      "[x, 4], [6, y], [, ]\nGaps [gap, qty]\nnmin = 3\nGaps [gap, qty]",
      record, stats);
  std::vector<std::pair<std::size_t, std::int64_t>> entries;
  for (std::size_t gap = 0; gap < stats.histogram.size(); ++gap) {
    if (stats.histogram[gap] != 0) {
      entries.emplace_back(gap, stats.histogram[gap]);
    }
  }
  EXPECT_EQ(entries, (decltype(entries){{0, 4}, {2, 11}, {4, 7}, {12, 5}}));
  EXPECT_EQ(stats.runningGapTotal, 27);
  EXPECT_EQ(record.nmin, 0);
}

// A report of the slice from to `to` whose values agree with each other.
ReportRecord consistent(std::int64_t from, std::int64_t to, std::int64_t primes) {
  ReportRecord record;
  record.fileNmin = record.nmin = from;
  record.fileNmax = record.nmax = to;
  record.nPrimes = record.nPrimes2 = primes;
  record.nGaps = primes - 1;
  return record;
}

TEST(Checks, estimateAndItsDomain) {
  EXPECT_EQ(estimatedPrimes(1, 10000000), 661462);
  EXPECT_EQ(estimatedPrimes(30000000, 40000000), 573654);
  EXPECT_EQ(formatFixed(deviation(consistent(1, 10000000, 664579)), 12), "0.004690187322");
  EXPECT_EQ(reportWarnings(consistent(30000000, 40000000, 575795), "T"),
            std::vector<std::string>{"warning : 0.003718337255\tT"});
  EXPECT_FALSE(estimatedPrimes(-5, 100).has_value());
  EXPECT_TRUE(std::isnan(deviation(consistent(-5, 40000000, 575795))));
  EXPECT_TRUE(reportWarnings(consistent(-5, 40000000, 575795), "R").empty());
  EXPECT_EQ(reportWarnings(consistent(2, 1000, 0), "R"),
            std::vector<std::string>{"warning : +Infinity\tR"});
}

TEST(Checks, eachMismatchAddsItsLineAndTheRunOneEntry) {
  ReportRecord record = consistent(30000000, 40000000, 575795);
  record.nmax = 1;
  record.nPrimes2 = 7;
  record.nGaps = record.nPrimes;
  EXPECT_EQ(
      reportWarnings(record, "R"),
      (std::vector<std::string>{
          "min-max values do not match in R", "Double control nPrimes / nPrimes2 is false in R",
          "nGaps / nPrimes values do not match in R", "warning : 0.003718337255\tR"}));
  std::vector<WarningEntry> run;
  checkReport(consistent(30000000, 40000000, 575795), "A", run);
  checkReport(consistent(30000000, 40000000, 573654), "B", run);
  ASSERT_EQ(run.size(), 1U);
  EXPECT_EQ(run[0].subject, "A");
  EXPECT_EQ(run[0].messages, std::vector<std::string>{"warning : 0.003718337255\tA"});
}

// From the start of the numbers to a power of ten, a report must carry both
// grade lines.
TEST(Checks, gradeLines) {
  const auto warned = [](std::int64_t from, std::int64_t to, bool goodGuess, bool excellent) {
    ReportRecord record = consistent(from, to, 50847534);
    record.goodGuess = goodGuess;
    record.excellent = excellent;
    const auto warnings = reportWarnings(record, "R");
    return std::find(warnings.begin(), warnings.end(),
                     "There is a bug on nPrimes / nGaps check in the fileR") != warnings.end();
  };
  EXPECT_TRUE(warned(0, 1000000000, false, false));
  EXPECT_TRUE(warned(1, 10000000, true, false));
  EXPECT_FALSE(warned(0, 1000000000, true, true));
  EXPECT_FALSE(warned(2, 1000000000, false, true));
  EXPECT_FALSE(warned(1, 20000000, false, false));
}

}  // namespace
}  // namespace gapmerge
