#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "merge/gap_stats.hpp"

namespace gapmerge {
namespace {

std::vector<std::int64_t> listedGaps(const StatsBlock& block) {
  std::vector<std::int64_t> gaps;
  for (const auto& entry : block.counts) {
    gaps.push_back(entry.gap);
  }
  return gaps;
}

TEST(GapStats, midGapsJoinReportsFromTheSecondOn) {
  GapStats stats;
  EXPECT_FALSE(addMidGap(stats, 7).has_value());
  closeReport(stats, 100);
  EXPECT_EQ(addMidGap(stats, 2100), 2000);
  closeReport(stats, 2100);
  EXPECT_EQ(addMidGap(stats, 4101), 2001);
  closeReport(stats, 4101);
  EXPECT_EQ(addMidGap(stats, 4101), 0);
  closeReport(stats, 4101);
  EXPECT_EQ(addMidGap(stats, 4000), -101);
  EXPECT_EQ(runningTotal(stats), 4);

  StatsBlock block;
  finalSeries(stats, block);
  EXPECT_EQ(listedGaps(block), (std::vector<std::int64_t>{0, 2000}));
  EXPECT_EQ(block.divisor, 2);
  reportSeries(stats, block);
  EXPECT_EQ(block.divisor, 4);
}

TEST(GapStats, tableEntriesOutsideTheHistogramCountOnlyInTheRunningTotal) {
  GapStats stats;
  addTableEntry(stats, 2, 10);
  addTableEntry(stats, 2, 5);
  addTableEntry(stats, 2001, 3);
  addTableEntry(stats, -2, 4);
  addTableEntry(stats, 7, 0);
  EXPECT_EQ(runningTotal(stats), 22);
  StatsBlock block;
  finalSeries(stats, block);
  ASSERT_EQ(block.counts.size(), 1U);
  EXPECT_EQ(block.counts[0].count, 15);
  EXPECT_EQ(block.divisor, 15);
}

TEST(GapStats, residueClassesSumTheCountsByGapModuloThree) {
  GapStats stats;
  for (std::int64_t gap = 0; gap <= 8; ++gap) {
    addTableEntry(stats, gap, gap + 1);
  }
  StatsBlock block;
  reportSeries(stats, block);
  EXPECT_EQ(block.classTotals[0], 1 + 4 + 7);
  EXPECT_EQ(block.classTotals[1], 2 + 5 + 8);
  EXPECT_EQ(block.classTotals[2], 3 + 6 + 9);
}

TEST(GapStats, sumsWrapAroundInsteadOfOverflowing) {
  constexpr auto max = std::numeric_limits<std::int64_t>::max();
  constexpr auto min = std::numeric_limits<std::int64_t>::min();
  GapStats stats;
  addTableEntry(stats, 2, max);
  addTableEntry(stats, 2, 2);
  EXPECT_EQ(runningTotal(stats), min + 1);
  closeReport(stats, min);
  EXPECT_EQ(addMidGap(stats, 1), min + 1);
}

}  // namespace
}  // namespace gapmerge
