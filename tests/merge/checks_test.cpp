#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "merge/checks.hpp"
#include "text/number_format.hpp"

namespace gapmerge {
namespace {

// A report whose values agree with each other and with its name.
ReportRecord consistentRecord() {
  ReportRecord record;
  record.fileNmin = record.nmin = 30000000;
  record.fileNmax = record.nmax = 40000000;
  record.nPrimes = record.nPrimes2 = 575795;
  record.nGaps = 575794;
  return record;
}

TEST(Estimate, matchesTheKnownFigures) {
  EXPECT_EQ(estimatedPrimes(1, 10000000), 661462);
  EXPECT_EQ(estimatedPrimes(30000000, 40000000), 573654);

  ReportRecord first;
  first.fileNmin = 1;
  first.fileNmax = 10000000;
  first.nPrimes = 664579;
  EXPECT_EQ(formatFixed(deviation(first), 12), "0.004690187322");
  EXPECT_EQ(formatFixed(deviation(consistentRecord()), 12), "0.003718337255");
}

TEST(Estimate, hasNoValueWhereTheBoundsLeaveTheLogarithmsDomain) {
  EXPECT_FALSE(estimatedPrimes(-5, 100).has_value());
  ReportRecord record = consistentRecord();
  record.fileNmin = -5;
  EXPECT_TRUE(std::isnan(deviation(record)));
  EXPECT_EQ(reportWarnings(record, "r").find("warning"), std::string::npos);
}

TEST(Checks, aConsistentReportOnlyMeetsTheEstimate) {
  EXPECT_EQ(reportWarnings(consistentRecord(), "T 30 to 40"),
            "warning : 0.003718337255\tT 30 to 40\n");
}

TEST(Checks, eachMismatchAddsItsLine) {
  ReportRecord record = consistentRecord();
  record.nmax = 1;
  record.nPrimes2 = 7;
  record.nGaps = record.nPrimes;
  EXPECT_EQ(reportWarnings(record, "R"),
            "min-max values do not match in R\n"
            "Double control nPrimes / nPrimes2 is false in R\n"
            "nGaps / nPrimes values do not match in R\n"
            "warning : 0.003718337255\tR\n");
}

TEST(Checks, gradeLinesAreRequiredFromTheStartToAPowerOfTen) {
  ReportRecord record;
  record.fileNmin = 0;
  record.fileNmax = 1000000000;
  record.nmax = 1000000000;
  record.nPrimes = record.nPrimes2 = 50847534;
  record.nGaps = 50847533;
  const std::string missing = "There is a bug on nPrimes / nGaps check in the fileR\n";
  EXPECT_NE(reportWarnings(record, "R").find(missing), std::string::npos);
  record.goodGuess = true;
  EXPECT_NE(reportWarnings(record, "R").find(missing), std::string::npos);
  record.excellent = true;
  EXPECT_EQ(reportWarnings(record, "R").find(missing), std::string::npos);
  record.goodGuess = false;
  record.fileNmin = 2;
  EXPECT_EQ(reportWarnings(record, "R").find(missing), std::string::npos);
  record.fileNmin = 1;
  record.fileNmax = 20000000;
  EXPECT_EQ(reportWarnings(record, "R").find(missing), std::string::npos);
}

TEST(Checks, noPrimesMakesTheDeviationInfiniteOrUndefined) {
  ReportRecord record;
  record.fileNmin = record.nmin = 2;
  record.fileNmax = record.nmax = 1000;
  record.nGaps = -1;
  EXPECT_EQ(reportWarnings(record, "R"), "warning : +Infinity\tR\n");
  record.fileNmax = record.nmax = 2;
  EXPECT_EQ(reportWarnings(record, "R"), "");
}

TEST(Checks, aReportWithWarningsAddsOneEntryToTheRun) {
  std::string run;
  checkReport(consistentRecord(), "A", run);
  ReportRecord record = consistentRecord();
  record.nPrimes = record.nPrimes2 = 573654;
  record.nGaps = 573653;
  checkReport(record, "B", run);
  EXPECT_EQ(run, "A : warning : 0.003718337255\tA\n\r\n");
}

}  // namespace
}  // namespace gapmerge
