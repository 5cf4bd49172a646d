#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "merge/coverage.hpp"
#include "merge/gap_stats.hpp"
#include "merge/report.hpp"

// The exact counts published for the primes below the powers of ten 10^8 to
// 10^12, the ranges that merged slices reach (OEIS A006880 primes, A007508 gaps of 2, A093737 of 4,
// A093738 of 6, A093739 of 8, A038460 the largest gap), and how a merged histogram of such a range
// compares with them. Gaps count as the run counts them: both primes below 10^k, so the gaps are
// the primes less one.
namespace gapmerge {

// One value held against its published count: "primes", "gap 2", "gap 4",
// "gap 6", "gap 8" or "largest gap".
struct ComparedCount {
  std::string_view name;
  std::int64_t published = 0;
  std::int64_t merged = 0;
};

struct PublishedComparison {
  std::int64_t below = 0;  // 10^k
  int exponent = 0;        // k
  bool agrees = false;     // every merged value is the published one
  std::vector<ComparedCount> compared;
};

// The range that the report names tile, one interval without hole, overlap or
// unreadable name; none otherwise.
std::optional<BoundRange> tiledRange(const Coverage& coverage);

// The comparison when the tiled range holds exactly the primes below a power
// of ten in the table (from at most 2, to 10^k), none otherwise. The merged
// primes are the sum of the histogram's counters plus one, the largest gap
// the largest size with a count (0 when there is none).
std::optional<PublishedComparison> compareWithPublished(const std::optional<BoundRange>& tiled,
                                                        const Histogram& merged);

}  // namespace gapmerge
