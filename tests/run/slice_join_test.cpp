// Slices that do not join: holes, overlaps and names whose bounds change their
// digit count, with and without range order.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

std::string report(long long firstPrime, long long lastPrime, const std::string& table) {
  return "First prime in range : " + std::to_string(firstPrime) +
         "\nLast prime in range : " + std::to_string(lastPrime) + "\nGaps [gap, qty]\n" + table +
         "\n";
}

std::string joinWarning(const std::string& name, long long midGap) {
  return name + " : Slices do not join: mid gap " + std::to_string(midGap) +
         " to the previous report in " + name + "\n\n";
}

std::size_t countOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// Primes 2..97 in three slices: 1 to 30, 31 to 60, 61 to 100.
const std::string slice1 = "Tramvelok 1 to 30 20261206120000.txt";
const std::string slice2 = "Tramvelok 31 to 60 20261206120000.txt";
const std::string slice3 = "Tramvelok 61 to 100 20261206120000.txt";

TEST(SliceJoin, touchingSlicesJoinWithoutWarning) {
  ScratchDir dir;
  dir.write(slice1, report(2, 29, "[1, 1], [2, 4], [4, 3], [6, 1], "));
  dir.write(slice2, report(31, 59, "[6, 3], [4, 2], [2, 1], "));
  dir.write(slice3, report(61, 97, "[6, 3], [4, 2], [2, 1], [8, 1], "));
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(countOf(result.out, "Slices do not join"), 0U);
  EXPECT_TRUE(readFile(dir.path() / "fileout.txt").ends_with("nGaps : 24\r\n"));
}

TEST(SliceJoin, aHoleGivesOneWarningNamingTheReportAfterIt) {
  ScratchDir dir;
  const std::string afterHole = "Tramvelok 5.000 to 5.100 20261206120000.txt";
  dir.write(slice1, report(2, 29, "[1, 1], [2, 4], [4, 3], [6, 1], "));
  dir.write(afterHole, report(5003, 5099, "[6, 3], [4, 2], [2, 1], [8, 1], "));
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(countOf(result.out, "Slices do not join"), 1U);
  EXPECT_NE(result.out.find(joinWarning(afterHole, 5003 - 29)), std::string::npos);
  EXPECT_TRUE(readFile(dir.path() / "fileout.txt").ends_with("nGaps : 16\r\n"));
}

TEST(SliceJoin, anOverlapGivesOneWarningNamingTheReportAfterIt) {
  ScratchDir dir;
  dir.write(slice1, report(2, 31, "[1, 1], [2, 5], [4, 3], [6, 1], "));
  dir.write(slice2, report(31, 59, "[6, 3], [4, 2], [2, 1], "));
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(countOf(result.out, "Slices do not join"), 1U);
  EXPECT_NE(result.out.find(joinWarning(slice2, 0)), std::string::npos);
}

TEST(SliceJoin, rangeOrderPutsSlicesWithLongerBoundsInPlace) {
  ScratchDir dir;
  // By path "Tramvelok 10.000 ..." sorts before "Tramvelok 101 ...": 10.000
  // to 11.000 would be read second, between 1 to 100 and 101 to 9.999.
  const std::string low = "Tramvelok 1 to 100 20261206120000.txt";
  const std::string middle = "Tramvelok 101 to 9.999 20261206120000.txt";
  const std::string high = "Tramvelok 10.000 to 11.000 20261206120000.txt";
  dir.write(low, report(2, 97, "[2, 24], "));
  dir.write(middle, report(101, 9973, "[2, 142], "));
  dir.write(high, report(10007, 10993, "[2, 15], "));

  const auto byPath = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_NE(byPath.out.find(joinWarning(high, 10007 - 97)), std::string::npos);
  EXPECT_NE(byPath.out.find(joinWarning(middle, 101 - 10993)), std::string::npos);

  const auto byRange = runGapmerge({"--batch", "--range-order"}, dir.path().string());
  EXPECT_EQ(countOf(byRange.out, "Slices do not join"), 0U);
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_LT(merged.find("(100)"), merged.find("(9.999)"));
  EXPECT_LT(merged.find("(9.999)"), merged.find("(11.000)"));
  // Mid gaps 101 - 97 = 4 and 10007 - 9973 = 34 join the tables.
  EXPECT_NE(merged.find("\r\nGaps [gap, qty]\r\n\r\n[2, 181], [4, 1], [34, 1], \r\n"),
            std::string::npos);
  EXPECT_NE(byRange.out.find("FileName : " + high + "\n"), std::string::npos);
}

}  // namespace
}  // namespace gapmerge::test
