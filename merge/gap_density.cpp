#include "merge/gap_density.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numeric>

namespace gapmerge {

namespace {

// The products over the primes above 11 stop here; the primes beyond change
// them by less than 3e-6.
constexpr int largePrimeLimit = 1 << 16;

// Near t a survivor of 2 to 11 is prime with the chance 1 / (survivorShare ln t),
// which reaches 1 at t = 123: below t = 600 the chance stays at this value.
constexpr double maxPrimeChance = 0.75;

using Tables = std::array<SparedChances, smallPrimeGroups>;

std::vector<int> primesBelow(int limit) {
  std::vector<bool> composite(static_cast<std::size_t>(limit));
  std::vector<int> primes;
  for (int n = 2; n < limit; ++n) {
    if (composite[static_cast<std::size_t>(n)]) {
      continue;
    }
    primes.push_back(n);
    for (long long k = static_cast<long long>(n) * n; k < limit; k += n) {
      composite[static_cast<std::size_t>(k)] = true;
    }
  }
  return primes;
}

// The smallest prime factor of every n from 2 to limit.
std::vector<int> smallestFactors(int limit) {
  std::vector<int> smallest(static_cast<std::size_t>(limit + 1));
  for (int n = 2; n <= limit; ++n) {
    if (smallest[static_cast<std::size_t>(n)] == 0) {
      for (int k = n; k <= limit; k += n) {
        auto& entry = smallest[static_cast<std::size_t>(k)];
        entry = entry == 0 ? n : entry;
      }
    }
  }
  return smallest;
}

// The distinct primes dividing n, ascending.
std::vector<int> primesDividing(int n, const std::vector<int>& smallestFactor) {
  std::vector<int> divisors;
  while (n > 1) {
    const int p = smallestFactor[static_cast<std::size_t>(n)];
    divisors.push_back(p);
    while (n % p == 0) {
      n /= p;
    }
  }
  return divisors;
}

// A prime p above 11 spares 0 and g, and so leaves m = p - 2 residues (p - 1
// when p divides g) where it may strike any other position, each as likely.
// Two such positions, relative to two independent ones, are spared together
// with the factor apart(m) in different residues and together(m) in the same
// one; a position in the residue of 0 or g is always spared, together(m) times
// as often as another.
double apart(double m) {
  return 1 - 1 / ((m - 1) * (m - 1));
}

double together(double m) {
  return m / (m - 1);
}

// The pair factor of two positions d apart, p dividing d: together unless both
// lie in the residue of 0 or g, a share of about 2/p. (Where p also divides g
// the factor differs by less than 1/p^2: it is left as it is.)
double sameResidueFactor(int p) {
  const double m = p - 2;
  const double always = 2.0 / p;
  return ((1 - always) * together(m) + always) / apart(m);
}

// What the primes above 11 contribute that does not depend on g; in the
// factors of n, p does not divide g.
struct LargePrimes {
  std::vector<int> primes;
  double spared = 1;  // mean chance that a position is spared, over 1 - 1/p each
  double apart = 1;   // pair factor of two positions in different residues of every prime
  std::vector<double> positionFactor;  // n up to maxGap: product of together(p - 2), p | n
  std::vector<double> distanceFactor;  // n up to maxGap: product of sameResidueFactor, p | n
};

LargePrimes largePrimes(int maxGap) {
  LargePrimes large;
  for (const int p : primesBelow(largePrimeLimit)) {
    if (p > largestSmallPrime) {
      large.primes.push_back(p);
      large.spared *= (1 - 1.0 / (p - 2)) / (1 - 1.0 / p);
      large.apart *= apart(p - 2);
    }
  }
  const auto size = static_cast<std::size_t>(maxGap) + 1;
  large.positionFactor.assign(size, 1);
  large.distanceFactor.assign(size, 1);
  for (const int p : large.primes) {
    for (int n = p; n <= maxGap; n += p) {
      large.positionFactor[static_cast<std::size_t>(n)] *= together(p - 2);
      large.distanceFactor[static_cast<std::size_t>(n)] *= sameResidueFactor(p);
    }
  }
  return large;
}

double singularSeries(const std::vector<int>& primesOfG) {
  double series = 2 * twinPrimeConstant;
  for (const int p : primesOfG) {
    if (p > 2) {
      series *= (p - 1.0) / (p - 2.0);
    }
  }
  return series;
}

// Walks the even positions j = 2, 4, ... with their residues in the tables,
// and the correction that a prime above 11 dividing g (at most two of them
// below 2000) makes where it also divides j.
class EvenPositions {
 public:
  EvenPositions(const Tables& tables, int g) {
    for (std::size_t k = 0; k < tables.size(); ++k) {
      const auto modulus = static_cast<std::size_t>(tables[k].modulus);
      const std::size_t row = static_cast<std::size_t>(g) % modulus * modulus;
      single_[k] = tables[k].single.data() + row;
      pair_[k] = tables[k].pair.data() + row;
      modulus_[k] = modulus;
      residue_[k] = 2 % modulus;
    }
  }

  // The chance that the small primes spare position j, and both i and i + j.
  [[nodiscard]] double single() const { return single_[0][residue_[0]] * single_[1][residue_[1]]; }
  [[nodiscard]] double pair() const { return pair_[0][residue_[0]] * pair_[1][residue_[1]]; }

  // From now on, correction() holds ratio at the even multiples of p.
  void correctAtMultiples(int p, double ratio) { corrections_[count_++] = {2 * p, 2 * p, ratio}; }

  [[nodiscard]] double correction() const { return correction_; }

  void advance() {
    j_ += 2;
    for (std::size_t k = 0; k < residue_.size(); ++k) {
      residue_[k] += 2;
      if (residue_[k] >= modulus_[k]) {
        residue_[k] -= modulus_[k];
      }
    }
    correction_ = 1;
    for (std::size_t c = 0; c < count_; ++c) {
      if (corrections_[c].next == j_) {
        correction_ *= corrections_[c].ratio;
        corrections_[c].next += corrections_[c].step;
      }
    }
  }

 private:
  struct Correction {
    int next = 0;
    int step = 0;
    double ratio = 1;
  };

  std::array<const double*, smallPrimeGroups> single_{};
  std::array<const double*, smallPrimeGroups> pair_{};
  std::array<std::size_t, smallPrimeGroups> modulus_{};
  std::array<std::size_t, smallPrimeGroups> residue_{};
  std::array<Correction, 2> corrections_{};
  std::size_t count_ = 0;
  int j_ = 2;
  double correction_ = 1;
};

// The mean number of pairs of survivors between.
double meanPairs(const SurvivorsBetween& between) {
  double pairs = 0;
  for (std::size_t i = 0; i < betweenSpread; ++i) {
    const double k = between.fewest + static_cast<double>(i);
    pairs += between.shares[i] * k * (k - 1) / 2;
  }
  return pairs;
}

// The sums over the even positions j below g that both orders need, from one
// walk: the survivors between, their chances to be spared by the primes above
// 11 relative to the mean chance (which grows where such a prime divides j or
// g - j), and over the distances d the pair weights and their excess
// correlation.
struct PositionSums {
  double survivors = 0;
  double sparedSurvivors = 0;
  double pairWeights = 0;
  double pairExcess = 0;
};

PositionSums sumOverPositions(int g, const std::vector<int>& divisorsOfG, const LargePrimes& large,
                              const Tables& tables) {
  EvenPositions positions(tables, g);
  for (const int p : divisorsOfG) {
    positions.correctAtMultiples(p, together(p - 1) / (together(p - 2) * together(p - 2)));
  }
  PositionSums sums;
  for (int j = 2; j < g; j += 2, positions.advance()) {
    const auto at = static_cast<std::size_t>(j);
    const double chance = positions.single();
    sums.survivors += chance;
    sums.sparedSurvivors += chance * positions.correction() * large.positionFactor[at] *
                            large.positionFactor[static_cast<std::size_t>(g - j)];
    const double weight = (g - j - 2) / 2.0 * positions.pair();
    sums.pairWeights += weight;
    sums.pairExcess += weight * (large.distanceFactor[at] - 1);
  }
  return sums;
}

// First order: how far the survivors between, each by its chance to be
// spared by the primes above 11 over the mean chance, depart from their number.
double firstOrderTerm(const std::vector<int>& divisorsOfG, const LargePrimes& large,
                      const PositionSums& sums) {
  double spared = large.spared;
  for (const int p : divisorsOfG) {
    spared *= (1 - 1.0 / (p - 1)) / (1 - 1.0 / (p - 2));
  }
  return spared * sums.sparedSurvivors - sums.survivors;
}

// The pair factor of two positions in different residues of every prime
// above 11, with the positions in the residues of 0 and g that these primes
// always spare.
double apartFactor(int g, const std::vector<int>& divisorsOfG, const LargePrimes& large) {
  double factor = large.apart;
  for (const int p : divisorsOfG) {
    factor *= apart(p - 1) / apart(p - 2);
  }
  const double evenPositions = g / 2.0 - 1;
  for (const int p : large.primes) {
    if (2 * p >= g) {
      break;  // no even multiple of p below g
    }
    const int multiples = (g - 1) / (2 * p);
    const bool dividesG = std::find(divisorsOfG.begin(), divisorsOfG.end(), p) != divisorsOfG.end();
    const double alwaysSpared = (dividesG ? multiples : 2 * multiples) / evenPositions;
    factor *= 1 + alwaysSpared * (2 - alwaysSpared) * (1 / apart(dividesG ? p - 1 : p - 2) - 1);
  }
  return factor;
}

// Second order: the pair correlations that the primes above 11 add to the
// mean number of pairs of survivors between, spread over the distances by the
// pair weights.
double secondOrderTerm(int g, const std::vector<int>& divisorsOfG, const LargePrimes& large,
                       const PositionSums& sums, double pairs) {
  const double base = apartFactor(g, divisorsOfG, large);
  const double spread =
      sums.pairWeights > 0 ? base * sums.pairExcess * pairs / sums.pairWeights : 0;
  return (base - 1) * pairs + spread;
}

}  // namespace

std::vector<GapTerms> computeGapTerms() {
  constexpr int maxGap = maxHistogramGap;
  const LargePrimes large = largePrimes(maxGap);
  const Tables tables = sparedChancesOfSmallPrimes();
  const std::vector<SurvivorsBetween> between = countSurvivorsBetween(maxGap);
  const std::vector<int> smallestFactor = smallestFactors(maxGap);
  std::vector<GapTerms> terms(static_cast<std::size_t>(maxGap + 1));
  for (int g = 2; g <= maxGap; g += 2) {
    GapTerms& gap = terms[static_cast<std::size_t>(g)];
    const std::vector<int> primesOfG = primesDividing(g, smallestFactor);
    const std::vector<int> divisorsOfG(std::find_if(primesOfG.begin(), primesOfG.end(),
                                                    [](int p) { return p > largestSmallPrime; }),
                                       primesOfG.end());
    gap.singularSeries = singularSeries(primesOfG);
    gap.between = between[static_cast<std::size_t>(g)];
    const PositionSums sums = sumOverPositions(g, divisorsOfG, large, tables);
    gap.firstOrder = firstOrderTerm(divisorsOfG, large, sums);
    gap.secondOrder = secondOrderTerm(g, divisorsOfG, large, sums, meanPairs(gap.between));
  }
  return terms;
}

double gapDensity(const GapTerms& terms, double logT) {
  const double u = 1 / logT;
  const double q = std::min(u / survivorShare, maxPrimeChance);
  const double spared = 1 - q;
  const double between =
      std::accumulate(terms.between.shares.rbegin(), terms.between.shares.rend(), 0.0,
                      [spared](double sum, double share) { return sum * spared + share; });
  const double r = q / spared;
  const double exponent =
      terms.between.fewest * std::log(spared) - r * terms.firstOrder + r * r * terms.secondOrder;
  return terms.singularSeries * u * u * between * std::exp(exponent);
}

}  // namespace gapmerge
