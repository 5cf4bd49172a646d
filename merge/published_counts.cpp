#include "merge/published_counts.hpp"

#include <algorithm>
#include <array>
#include <cstddef>

#include "text/wrap.hpp"

namespace gapmerge {

namespace {

// The published values below 10^exponent.
struct PublishedRow {
  int exponent = 0;
  std::int64_t primes = 0;
  std::array<std::int64_t, 4> gaps{};  // of 2, 4, 6 and 8
  std::int64_t largestGap = 0;
};

constexpr std::array<PublishedRow, 5> publishedRows = {{
    {8, 5761455, {440312, 440257, 768752, 334180}, 220},
    {9, 50847534, {3424506, 3424679, 6089791, 2695109}, 282},
    {10, 455052511, {27412679, 27409998, 49392723, 22160841}, 354},
    {11, 4118054813, {224376048, 224373160, 408550278, 185402143}, 464},
    {12, 37607912018, {1870585220, 1870585458, 3435528229, 1573331564}, 540},
}};

constexpr std::array<std::string_view, 4> gapNames = {"gap 2", "gap 4", "gap 6", "gap 8"};

std::int64_t powerOfTen(int exponent) {
  std::int64_t power = 1;
  for (int k = 0; k < exponent; ++k) {
    power *= 10;
  }
  return power;
}

const PublishedRow* rowBelow(std::int64_t bound) {
  const auto* row =
      std::find_if(publishedRows.begin(), publishedRows.end(),
                   [bound](const PublishedRow& r) { return powerOfTen(r.exponent) == bound; });
  return row == publishedRows.end() ? nullptr : row;
}

std::int64_t largestGapOf(const Histogram& histogram) {
  for (std::size_t gap = histogram.size(); gap-- > 0;) {
    if (histogram[gap] != 0) {
      return static_cast<std::int64_t>(gap);
    }
  }
  return 0;
}

std::int64_t primesOf(const Histogram& histogram) {
  std::int64_t gaps = 0;
  for (const std::int64_t count : histogram) {
    gaps = addWrap(gaps, count);
  }
  return addWrap(gaps, 1);
}

}  // namespace

std::optional<BoundRange> tiledRange(const Coverage& coverage) {
  if (!tilesOneInterval(coverage)) {
    return std::nullopt;
  }
  return coverage.covered.front().range;
}

std::optional<PublishedComparison> compareWithPublished(const std::optional<BoundRange>& tiled,
                                                        const Histogram& merged) {
  if (!tiled || tiled->from > 2) {
    return std::nullopt;
  }
  const PublishedRow* row = rowBelow(tiled->to);
  if (row == nullptr) {
    return std::nullopt;
  }
  PublishedComparison comparison{tiled->to, row->exponent, true, {}};
  comparison.compared.push_back({"primes", row->primes, primesOf(merged)});
  for (std::size_t i = 0; i < gapNames.size(); ++i) {
    comparison.compared.push_back({gapNames[i], row->gaps[i], merged[2 * i + 2]});
  }
  comparison.compared.push_back({"largest gap", row->largestGap, largestGapOf(merged)});
  comparison.agrees = std::all_of(comparison.compared.begin(), comparison.compared.end(),
                                  [](const ComparedCount& c) { return c.published == c.merged; });
  return comparison;
}

}  // namespace gapmerge
