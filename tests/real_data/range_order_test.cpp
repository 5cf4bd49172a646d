// One to 10^9 in slices of 10^7: the bounds in the names change their digit
// count, so path order reads the slices out of range order. Join warnings
// say so, and range order merges them into the histogram of the whole range.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/real_data/make_slices_runner.hpp"
#include "tests/real_data/merge_output.hpp"
#include "tests/real_data/prime_gaps.hpp"
#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

constexpr long long top = 1'000'000'000;
constexpr long long gapsBelowTop = 50'847'533;     // pi(10^9) - 1
constexpr long long twinGapsBelowTop = 3'424'506;  // gaps of 2 below 10^9

std::size_t countJoinWarnings(const std::string& out) {
  std::size_t count = 0;
  for (const auto& line : splitBatchText(out).warningLines) {
    count += line.find(" : Slices do not join: mid gap ") != std::string::npos ? 1U : 0U;
  }
  return count;
}

class RangeOrder : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new ScratchDir;
    ASSERT_TRUE(makeSlices(1, top, 100, dir_->path()));
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static ScratchDir* dir_;
};

ScratchDir* RangeOrder::dir_ = nullptr;

TEST_F(RangeOrder, pathOrderWarnsWhereSlicesDoNotJoin) {
  const auto result = runGapmerge({"--batch"}, dir_->path().string());
  EXPECT_EQ(result.exitStatus, 0);
  // "100.000.001 ..." follows "10.000.001 ...", and so on: every slice whose
  // predecessor in path order is not its neighbour in range.
  EXPECT_GT(countJoinWarnings(result.out), 0U);
  const auto totals = readClosingTotals(readFile(dir_->path() / "fileout.txt"));
  EXPECT_LT(totals.histogramTotal, gapsBelowTop);
}

TEST_F(RangeOrder, rangeOrderMergesTheWholeRange) {
  const auto result = runGapmerge({"--batch", "--range-order"}, dir_->path().string());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(countJoinWarnings(result.out), 0U);
  EXPECT_EQ(splitBatchText(result.out).fileName,
            "Tramvelok 990.000.001 to 1.000.000.000 20261206120000.txt");
  const auto totals = readClosingTotals(readFile(dir_->path() / "fileout.txt"));
  EXPECT_EQ(totals.histogramTotal, gapsBelowTop);
  EXPECT_EQ(totals.runningTotal, gapsBelowTop);
  EXPECT_EQ(totals.gaps.at(2), twinGapsBelowTop);
  EXPECT_EQ(totals.gaps, countGaps(1, top));
}

TEST_F(RangeOrder, aMissingSliceGivesOneWarningNamingTheSliceAfterIt) {
  ScratchDir holed;
  for (const auto& entry : std::filesystem::directory_iterator(dir_->path())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("Tramvelok") && !name.starts_with("Tramvelok 500.000.001 ")) {
      std::filesystem::copy_file(entry.path(), holed.path() / name);
    }
  }
  const auto result = runGapmerge({"--batch", "--range-order"}, holed.path().string());
  EXPECT_EQ(countJoinWarnings(result.out), 1U);
  const std::string after = "Tramvelok 510.000.001 to 520.000.000 20261206120000.txt";
  EXPECT_NE(result.out.find(after + " : Slices do not join: mid gap "), std::string::npos);
}

}  // namespace
}  // namespace gapmerge::test
