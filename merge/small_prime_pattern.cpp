#include "merge/small_prime_pattern.hpp"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <set>
#include <utility>

namespace gapmerge {

namespace {

// The survivors of two periods in ascending order: every pair up to a period
// apart is read without wrapping around.
std::vector<int> survivorsOfTwoPeriods() {
  std::vector<bool> struck(2 * std::size_t{smallPrimorial});
  for (const int p : {2, 3, 5, 7, 11}) {
    for (std::size_t n = 0; n < struck.size(); n += static_cast<std::size_t>(p)) {
      struck[n] = true;
    }
  }
  std::vector<int> survivors;
  survivors.reserve(2 * std::size_t{survivorsPerPeriod});
  for (std::size_t n = 0; n < struck.size(); ++n) {
    if (!struck[n]) {
      survivors.push_back(static_cast<int>(n));
    }
  }
  return survivors;
}

// Where the window of counts for gap size g starts: 6 below g * survivorShare.
int windowStart(int g) {
  return std::max(0, g * survivorsPerPeriod / smallPrimorial - 6);
}

// Turns the window of counts into shares and moves it to the fewest count seen.
void toShares(const std::uint32_t* counts, int start, SurvivorsBetween& out) {
  const double total = std::accumulate(counts, counts + betweenSpread, 0.0);
  std::size_t first = 0;
  while (counts[first] == 0) {
    ++first;
  }
  out.fewest = start + static_cast<int>(first);
  for (std::size_t i = first; i < betweenSpread; ++i) {
    out.shares[i - first] = counts[i] / total;
  }
}

// The number of distinct residues of the positions mod p.
double classesOf(std::initializer_list<int> positions, int p) {
  std::set<int> residues;
  for (const int position : positions) {
    residues.insert(position % p);
  }
  return static_cast<double>(residues.size());
}

// The chances that p spares position j (single) and positions i and i + j,
// averaged over i (pair), given that it spares 0 and g, indexed [g * p + j].
struct PrimeChances {
  std::vector<double> single;
  std::vector<double> pair;
};

PrimeChances chancesOf(int p) {
  PrimeChances chances;
  for (int g = 0; g < p; ++g) {
    const double ends = 1 - classesOf({0, g}, p) / p;
    for (int j = 0; j < p; ++j) {
      chances.single.push_back((1 - classesOf({0, g, j}, p) / p) / ends);
      double both = 0;
      for (int i = 0; i < p; ++i) {
        both += 1 - classesOf({0, g, i, i + j}, p) / p;
      }
      chances.pair.push_back(both / p / ends);
    }
  }
  return chances;
}

// Extends the table of a modulus M to M * p by the chances of p (CRT).
void combine(SparedChances& table, int p, const PrimeChances& chances) {
  const int modulus = table.modulus * p;
  SparedChances wider{modulus, {}, {}};
  for (int g = 0; g < modulus; ++g) {
    for (int j = 0; j < modulus; ++j) {
      const int oldAt = g % table.modulus * table.modulus + j % table.modulus;
      const int addedAt = g % p * p + j % p;
      const auto old = static_cast<std::size_t>(oldAt);
      const auto added = static_cast<std::size_t>(addedAt);
      wider.single.push_back(table.single[old] * chances.single[added]);
      wider.pair.push_back(table.pair[old] * chances.pair[added]);
    }
  }
  table = std::move(wider);
}

}  // namespace

std::vector<SurvivorsBetween> countSurvivorsBetween(int maxGap) {
  const auto size = static_cast<std::size_t>(maxGap) + 1;
  // counts[offset[g] + k]: the pairs g apart with k survivors between.
  std::vector<std::size_t> offset(size);
  for (int g = 0; g <= maxGap; ++g) {
    offset[static_cast<std::size_t>(g)] =
        static_cast<std::size_t>(g) * betweenSpread - static_cast<std::size_t>(windowStart(g));
  }
  std::vector<std::uint32_t> counts(size * betweenSpread);
  const std::vector<int> survivors = survivorsOfTwoPeriods();
  for (std::size_t i = 0; i < survivorsPerPeriod; ++i) {
    for (std::size_t next = i + 1; survivors[next] - survivors[i] <= maxGap; ++next) {
      const auto g = static_cast<std::size_t>(survivors[next] - survivors[i]);
      ++counts[offset[g] + next - i - 1];
    }
  }
  std::vector<SurvivorsBetween> result(size);
  for (int g = 2; g <= maxGap; g += 2) {
    const auto at = static_cast<std::size_t>(g);
    toShares(&counts[at * betweenSpread], windowStart(g), result[at]);
  }
  return result;
}

std::array<SparedChances, smallPrimeGroups> sparedChancesOfSmallPrimes() {
  const std::array<std::vector<int>, smallPrimeGroups> groups = {{{3, 5, 7}, {11}}};
  std::array<SparedChances, smallPrimeGroups> tables;
  for (std::size_t k = 0; k < smallPrimeGroups; ++k) {
    SparedChances& table = tables[k];
    table.modulus = 1;
    table.single.assign(1, 1);
    table.pair.assign(1, 1);
    for (const int p : groups[k]) {
      combine(table, p, chancesOf(p));
    }
  }
  return tables;
}

}  // namespace gapmerge
