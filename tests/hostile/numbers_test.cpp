// Runs over reports whose numbers are too large, negative or beyond the
// histogram.
#include <gtest/gtest.h>

#include <string>

#include "tests/hostile/hostile_support.hpp"

namespace gapmerge::test {
namespace {

TEST(Numbers, valuesBeyond64BitsWrapAround) {
  ScratchDir dir;
  // 2^64 = 18446744073709551616: every value below is 2^64 plus a small one.
  dir.write("Tramvelok 18446744073709551617 to 18_446_744_073_709_551_626 x.txt",
            "nmin = 18.446.744.073.709.551.617\n"
            "nmax = 18446744073709551626\n"
            "First prime in range : 18446744073709551618\n"
            "Last prime in range : 18446744073709551623\n"
            "Gaps [gap, qty]\n"
            "[18446744073709551618, 3], [2, 18446744073709551621], \n");
  // 2^63 = 9223372036854775808 reads as the most negative value; one more
  // item of 2^63 makes the counter of gap 4 wrap around to 0, and it is not listed.
  dir.write(
      "Tramvelok 21 to 30 x.txt",
      "nmin = 21\nnmax = 30\nGaps [gap, qty]\n[6, 9223372036854775808], [4, 9223372036854775808], "
      "[4, 9223372036854775808], \n");
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_FALSE(contains(result.out, "min-max values do not match")) << result.out;
  EXPECT_TRUE(contains(merged, "Mid gaps : Gaps (10) [gap, qty]\r\n[2, 8], \r\nTotal 8 gaps"));
  // The second report's mid gap 2 - 7 = -5 joins nothing but is counted;
  // -2^63 three times wraps to -2^63 in the running total.
  EXPECT_TRUE(contains(result.out, "Slices do not join: mid gap -5 to the previous report in "));
  EXPECT_TRUE(contains(merged,
                       "Mid gaps : Gaps (30) [gap, qty]\r\n[2, 8], [6, -9223372036854775808], "
                       "\r\nTotal -9223372036854775799 gaps"));
  EXPECT_TRUE(contains(merged, "\r\n1 - 30\r\n\r\nnGaps = -9223372036854775799\r\n"));
  EXPECT_TRUE(merged.ends_with("nGaps : -9223372036854775800\r\n"));
}

TEST(Numbers, negativeQuantitiesGiveInfinitiesAndNaNButTheRunEnds) {
  ScratchDir dir;
  // The counters sum to 0: every quotient divides by 0.
  dir.write("Tramvelok 1 to 10 x.txt", "Gaps [gap, qty]\n[2, 1], [4, -1], \n");
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_TRUE(
      contains(merged, "Mid gaps : Gaps (10) [gap, qty]\r\n[2, 1], [4, -1], \r\nTotal 0 gaps"));
  EXPECT_TRUE(contains(merged,
                       "Mid gaps : normalized gaps (10) [gap, %]\r\n"
                       "[2, +Infinity], [4, -Infinity], \r\n"));
  EXPECT_TRUE(contains(merged,
                       "Mid gaps : cumulative normalized gaps (10) [gap, %]\r\n"
                       "[2, +Infinity], [4, NaN], \r\n"));
  EXPECT_TRUE(contains(merged,
                       "1 Mod 3 [[4, 1.000000000000000], ]\r\n"
                       "2 Mod 3 [[2, 1.000000000000000], ]\r\n"));
  EXPECT_TRUE(
      contains(merged, "Normalized gaps [gap, %]\r\n\r\n[2, +Infinity], [4, -Infinity], \r\n"));
  EXPECT_TRUE(contains(merged, "Normalized cumulative gaps\r\n\r\n[2, +Infinity], [4, NaN], \r\n"));
  EXPECT_TRUE(merged.ends_with("nGaps : 0\r\n"));
}

TEST(Numbers, negativeGapsAndQuantitiesCountDown) {
  ScratchDir dir;
  dir.write("Tramvelok 1 to 10 x.txt", "Gaps [gap, qty]\n[2, -3], [4, 1], [-6, 5], \n");
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_EQ(result.exitStatus, 0);
  // Gap -6 is outside the histogram but its 5 count in the running total:
  // -3 + 1 + 5 = 3; the final divisor is the histogram's -3 + 1 = -2.
  EXPECT_TRUE(
      contains(merged, "Mid gaps : Gaps (10) [gap, qty]\r\n[2, -3], [4, 1], \r\nTotal 3 gaps"));
  EXPECT_TRUE(contains(merged,
                       "Mid gaps : normalized gaps (10) [gap, %]\r\n"
                       "[2, -1.000000000000000], [4, 0.333333333333333], \r\n"));
  EXPECT_TRUE(
      contains(merged, "Mid gaps : cumulative gaps (10) [gap, qty]\r\n[2, -3], [4, -2], \r\n"));
  EXPECT_TRUE(contains(merged,
                       "Mid gaps : cumulative normalized gaps (10) [gap, %]\r\n"
                       "[2, -1.000000000000000], [4, -0.666666666666667], \r\n"));
  EXPECT_TRUE(contains(merged, "\r\n1 - 10\r\n\r\nnGaps = 3\r\n"));
  EXPECT_TRUE(contains(merged,
                       "Normalized gaps [gap, %]\r\n\r\n"
                       "[2, 1.500000000000000], [4, -0.500000000000000], \r\n"));
  EXPECT_TRUE(contains(merged, "0 : 0\t1 : 1\t2 : -3\tTotal : -2\r\n"));
  EXPECT_TRUE(merged.ends_with("nGaps : -2\r\n"));
}

TEST(Numbers, gapsAbove2000CountOnlyInTheRunningTotal) {
  ScratchDir dir;
  dir.write("Tramvelok 1 to 10 x.txt",
            "First prime in range : 2\nLast prime in range : 7\n"
            "Gaps [gap, qty]\n[2, 1], [2000, 1], [2001, 4], [5000, 2], \n");
  // Mid gap 3011 - 7 = 3004.
  dir.write("Tramvelok 3001 to 4000 x.txt",
            "First prime in range : 3011\nLast prime in range : 3989\nGaps [gap, qty]\n[6, 1], \n");
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_TRUE(
      contains(merged, "Mid gaps : Gaps (10) [gap, qty]\r\n[2, 1], [2000, 1], \r\nTotal 8 gaps"));
  EXPECT_TRUE(contains(result.out,
                       "Tramvelok 3001 to 4000 x.txt : Slices do not join: mid gap 3004 "
                       "to the previous report in Tramvelok 3001 to 4000 x.txt\n\n"));
  EXPECT_TRUE(contains(merged,
                       "Mid gaps : Gaps (4.000) [gap, qty]\r\n[2, 1], [6, 1], [2000, 1], "
                       "\r\nTotal 10 gaps"));
  EXPECT_TRUE(contains(merged, "\r\n1 - 4.000\r\n\r\nnGaps = 10\r\n"));
  EXPECT_TRUE(merged.ends_with("nGaps : 3\r\n"));
}

}  // namespace
}  // namespace gapmerge::test
