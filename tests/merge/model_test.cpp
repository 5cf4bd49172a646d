// The expected gap counts against counts of real primes, and the comparison
// with the published counts below powers of ten.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "merge/coverage.hpp"
#include "merge/gap_model.hpp"
#include "merge/gap_stats.hpp"
#include "merge/published_counts.hpp"
#include "merge/report.hpp"
#include "sieve/range_sieve.hpp"

namespace gapmerge::test {
namespace {

constexpr std::int64_t maxBound = std::numeric_limits<std::int64_t>::max();

// Gaps of one size counted between primes from 1 to below: published (OEIS
// A007508, A093737, A093738, A093739, A093745 for 20, A093981 for 54) or
// counted by a sieve (130 and 198), with how close the model must come.
struct CountedGaps {
  std::int64_t below;
  std::size_t gap;
  double count;
  double tolerance;
};

TEST(GapModel, comesCloseToTheCountsBelowPowersOfTen) {
  const std::vector<CountedGaps> table = {
      {100'000'000, 2, 440312, 0.003},           {100'000'000, 4, 440257, 0.003},
      {100'000'000, 6, 768752, 0.005},           {100'000'000, 8, 334180, 0.005},
      {1'000'000'000, 6, 6089791, 0.005},        {10'000'000'000, 8, 22160841, 0.005},
      {100'000'000'000, 2, 224376048, 0.001},    {100'000'000'000, 20, 145357801, 0.005},
      {100'000'000'000, 54, 49484726, 0.01},     {100'000'000'000, 130, 951137, 0.02},
      {100'000'000'000, 198, 53702, 0.015},      {1'000'000'000'000, 4, 1870585458, 0.001},
      {1'000'000'000'000, 6, 3435528229, 0.002}, {1'000'000'000'000, 20, 1298682892, 0.005},
      {1'000'000'000'000, 54, 511589763, 0.01},
  };
  for (const auto& [below, gap, count, tolerance] : table) {
    const double expected = expectedGapCounts({1, below})[gap];
    EXPECT_NEAR(count / expected, 1, tolerance) << "gap " << gap << " below " << below;
  }
}

// Over all sizes, the gaps of a range are its primes less one.
TEST(GapModel, expectsAsManyGapsAsThePublishedPrimesLessOne) {
  const ExpectedCounts expected = expectedGapCounts({1, 1'000'000'000'000});
  double gaps = 0;
  for (const double count : expected) {
    gaps += count;
  }
  EXPECT_NEAR(gaps / (37'607'912'018 - 1), 1, 0.001);
}

// The gaps between the primes from 10^12 to 10^12 + 10^7, sieved by
// libprimesieve, against the model for every size with at least 1000.
TEST(GapModel, comesCloseToASmallRangeCountedExactly) {
  constexpr std::int64_t from = 1'000'000'000'000;
  constexpr std::int64_t to = from + 10'000'000;
  const std::vector<SieveRange> range = {{from, to}};
  RangePrimes primes;
  std::atomic<std::uint64_t> sieved{0};
  sieveRanges(
      range, [&primes](std::size_t, const RangePrimes& found) { primes = found; }, sieved);
  const ExpectedCounts expected = expectedGapCounts({from, to});
  for (std::size_t gap = 2; gap < gapSlots; gap += 2) {
    const auto counted = static_cast<double>(primes.gapCounts[gap]);
    if (counted >= 1000) {
      EXPECT_NEAR(counted / expected[gap], 1, 0.01 + 4 / std::sqrt(counted))
          << "gap " << gap << ": " << counted << " counted";
    }
  }
}

// Far out the density is flat, so a gap is expected as often as the range
// leaves room for its first prime: to - g - from + 1 places.
TEST(GapModel, expectsAGapWhereTheRangeHasRoomForIt) {
  constexpr std::int64_t far = 1'000'000'000'000'000;
  EXPECT_NEAR(expectedGapCounts({far, far + 199})[50] / expectedGapCounts({far, far + 99})[50], 3,
              0.001);
}

// Every range gives finite counts that are never negative; gap 1 exactly when
// the range holds 2 and 3; nothing for gap 0, odd gaps above 1, and gaps
// wider than the range from its first odd prime candidate on.
TEST(GapModel, isDefinedForEveryRange) {
  const std::vector<BoundRange> ranges = {{10, 1},
                                          {-100, -1},
                                          {-5, 2},
                                          {1, 10},
                                          {2, 3},
                                          {3, 5},
                                          {1, 100},
                                          {maxBound - 1'000'000, maxBound},
                                          {0, 0},
                                          {maxBound, maxBound},
                                          {std::numeric_limits<std::int64_t>::min(), maxBound}};
  for (const BoundRange& range : ranges) {
    const ExpectedCounts expected = expectedGapCounts(range);
    const std::int64_t widest = range.to - std::max<std::int64_t>(range.from, 3);
    EXPECT_EQ(expected[1], range.from <= 2 && range.to >= 3 ? 1 : 0) << range.from;
    for (std::size_t gap = 0; gap < expected.size(); ++gap) {
      EXPECT_TRUE(std::isfinite(expected[gap]) && expected[gap] >= 0) << range.from << " " << gap;
      const bool possible =
          gap == 1 || (gap % 2 == 0 && gap > 0 && static_cast<std::int64_t>(gap) <= widest);
      if (!possible) {
        EXPECT_EQ(expected[gap], 0) << range.from << " " << gap;
      }
    }
  }
}

// Only a range that holds exactly the primes below a power of ten in the
// table is compared.
TEST(PublishedCounts, onlyRangesOfThePrimesBelowAPowerOfTen) {
  const Histogram empty{};
  const std::vector<std::pair<std::optional<BoundRange>, bool>> cases = {
      {std::nullopt, false},
      {BoundRange{1, 100'000'000}, true},
      {BoundRange{0, 1'000'000'000'000}, true},
      {BoundRange{2, 1'000'000'000}, true},
      {BoundRange{3, 1'000'000'000}, false},
      {BoundRange{1, 999'999'999}, false},
      {BoundRange{1, 10'000'000}, false},
      {BoundRange{1, 10'000'000'000'000}, false}};
  for (const auto& [tiled, compared] : cases) {
    EXPECT_EQ(compareWithPublished(tiled, empty).has_value(), compared) << (tiled ? tiled->to : 0);
  }
  EXPECT_FALSE(tiledRange(findCoverage({"Tramvelok 1 to 10 x", "Tramvelok 12 to 20 x"})));
}

}  // namespace
}  // namespace gapmerge::test
