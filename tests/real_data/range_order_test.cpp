// One to 10^9 in slices of 10^7: the bounds in the names change their digit
// count, so path order reads the slices out of range order. Join warnings
// say so, and range order merges them into the histogram of the whole range.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/real_data/real_data.hpp"
#include "tests/support/output.hpp"
#include "tests/support/program.hpp"

namespace gapmerge::test {
namespace {

constexpr const char* joinWarning = " : Slices do not join: mid gap ";

TEST(RangeOrder, mergesOneToABillionOnlyInRangeOrder) {
  const ScratchDir dir;
  ASSERT_TRUE(makeSlices(1, 1'000'000'000, 100, dir));
  {
    SCOPED_TRACE("path order");
    const auto result = runGapmerge({"--batch"}, dir.path().string());
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_GT(countOf(result.out, joinWarning), 0U);
    EXPECT_LT(std::stoll(lineAfter(readFile(dir.path() / "fileout.txt"), "nGaps : ")), 50'847'533);
  }
  {
    SCOPED_TRACE("range order");
    expectExactMerge(dir, 1, 1'000'000'000,
                     "Tramvelok 990.000.001 to 1.000.000.000 20261206120000.txt",
                     {"--range-order"});
    const std::string merged = readFile(dir.path() / "fileout.txt");
    EXPECT_EQ(lineAfter(merged, "nGaps : "), "50847533");  // pi(10^9) - 1
    EXPECT_NE(merged.find("\r\n\r\n[1, 1], [2, 3424506], "), std::string::npos);
  }
  {
    SCOPED_TRACE("a missing slice");
    std::filesystem::remove(dir.path() / "Tramvelok 500.000.001 to 510.000.000 20261206120000.txt");
    const auto result = runGapmerge({"--batch", "--range-order"}, dir.path().string());
    EXPECT_EQ(countOf(result.out, joinWarning), 1U);
    EXPECT_NE(result.out.find("\nTramvelok 510.000.001 to 520.000.000 20261206120000.txt" +
                              std::string(joinWarning)),
              std::string::npos)
        << result.out;
  }
}

}  // namespace
}  // namespace gapmerge::test
