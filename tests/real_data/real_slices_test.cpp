#include <gtest/gtest.h>

#include <string>

#include "tests/real_data/make_slices_runner.hpp"
#include "tests/real_data/merge_output.hpp"
#include "tests/real_data/prime_gaps.hpp"
#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

// Only the estimate check may complain about real reports; the others
// compare values that the sieve writes consistently.
void expectOnlyEstimateWarnings(const ProgramResult& result) {
  for (const char* message :
       {"min-max values do not match", "Double control", "nGaps / nPrimes", "There is a bug"}) {
    EXPECT_EQ(result.out.find(message), std::string::npos) << message;
  }
  for (const auto& line : splitBatchText(result.out).warningLines) {
    EXPECT_TRUE(isEstimateWarning(line)) << line;
  }
}

// Sieves [from, to] into count touching reports, merges them and compares
// the merged histogram with the gaps of the whole range: every gap inside a
// slice and every gap across two slices must be there once.
void expectMergeOfRange(long long from, long long to, int count, const std::string& lastReport) {
  ScratchDir dir;
  ASSERT_TRUE(makeSlices(from, to, count, dir.path()));
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, "");
  expectOnlyEstimateWarnings(result);
  EXPECT_EQ(splitBatchText(result.out).fileName, lastReport);

  const auto first = static_cast<std::uint64_t>(from);
  const auto last = static_cast<std::uint64_t>(to);
  const std::int64_t gapTotal = countPrimes(first, last) - 1;
  const ClosingTotals totals = readClosingTotals(readFile(dir.path() / "fileout.txt"));
  EXPECT_EQ(totals.gaps, countGaps(first, last));
  EXPECT_EQ(totals.histogramTotal, gapTotal);
  EXPECT_EQ(totals.runningTotal, gapTotal);
}

TEST(RealSlices, mergesOneToTenMillionInEightSlices) {
  expectMergeOfRange(1, 10'000'000, 8, "Tramvelok 8.750.001 to 10.000.000 20261206120000.txt");
}

TEST(RealSlices, mergesThreeSlicesAboveOneBillion) {
  expectMergeOfRange(1'000'000'000, 1'003'000'000, 3,
                     "Tramvelok 1.002.000.001 to 1.003.000.000 20261206120000.txt");
}

}  // namespace
}  // namespace gapmerge::test
