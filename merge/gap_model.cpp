#include "merge/gap_model.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "merge/gap_density.hpp"

namespace gapmerge {

namespace {

// Six-point Gauss-Legendre quadrature on [-1, 1]: nodes and weights.
constexpr std::array<double, 6> quadratureNodes = {-0.9324695142031520278, -0.6612093864662645137,
                                                   -0.2386191860831969086, 0.2386191860831969086,
                                                   0.6612093864662645137,  0.9324695142031520278};
constexpr std::array<double, 6> quadratureWeights = {0.1713244923791703450, 0.3607615730481386076,
                                                     0.4679139345726910474, 0.4679139345726910474,
                                                     0.3607615730481386076, 0.1713244923791703450};

// The integral runs over y = ln(top / t) in panels of growing width; the
// factor e^-y of dt = t dy makes each panel matter less than the one before.
// ln(2^63) is below the last edge.
constexpr std::array<double, 8> panelEdges = {0, 1, 2, 4, 8, 16, 32, 64};

const std::vector<GapTerms>& gapTerms() {
  static const std::vector<GapTerms> terms = computeGapTerms();
  return terms;
}

// The expected number of primes p from low to high (3 <= low <= high) with
// p + g the next prime: the density integrated over [low - 1/2, high + 1/2],
// the part of the line that the integers low to high stand for.
double expectedFirstPrimes(const GapTerms& terms, std::int64_t low, std::int64_t high) {
  const double top = static_cast<double>(high) + 0.5;
  const double logTop = std::log(top);
  const double width =
      std::log1p(static_cast<double>(high - low + 1) / (static_cast<double>(low) - 0.5));
  double sum = 0;
  for (std::size_t panel = 0; panelEdges[panel] < width; ++panel) {
    const double start = panelEdges[panel];
    const double half = (std::min(panelEdges[panel + 1], width) - start) / 2;
    for (std::size_t k = 0; k < quadratureNodes.size(); ++k) {
      const double y = start + half * (1 + quadratureNodes[k]);
      sum += quadratureWeights[k] * half * std::exp(-y) * gapDensity(terms, logTop - y);
    }
  }
  return top * sum;
}

}  // namespace

ExpectedCounts expectedGapCounts(const BoundRange& range) {
  ExpectedCounts expected{};
  if (range.from <= 2 && range.to >= 3) {
    expected[1] = 1;
  }
  // The smaller prime of an even gap is odd, so 3 or more.
  const std::int64_t low = std::max<std::int64_t>(range.from, 3);
  if (range.to < low) {
    return expected;
  }
  const std::int64_t widest = std::min(range.to - low, maxHistogramGap);
  const std::vector<GapTerms>& terms = gapTerms();
  for (std::int64_t g = 2; g <= widest; g += 2) {
    const auto at = static_cast<std::size_t>(g);
    expected[at] = expectedFirstPrimes(terms[at], low, range.to - g);
  }
  return expected;
}

}  // namespace gapmerge
