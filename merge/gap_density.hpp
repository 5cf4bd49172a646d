#pragma once

#include <vector>

#include "merge/gap_stats.hpp"
#include "merge/small_prime_pattern.hpp"

// The density of the gaps of one size between consecutive primes near t: how
// many primes p per unit of t have p + g as the next prime, as the
// Hardy-Littlewood prime k-tuple conjecture gives it. The primes 2 to 11 are
// taken by their exact pattern, the larger ones to first and second order.
// Derivation, sources and measured error: docs/model.md.
namespace gapmerge {

constexpr double twinPrimeConstant = 0.6601618158468695739;

// The part of the density of one even gap size g that does not depend on t.
struct GapTerms {
  double singularSeries = 0;  // 2 C2 times (p - 1)/(p - 2) for each odd prime p dividing g
  SurvivorsBetween between;   // survivors of 2 to 11 between the two primes
  double firstOrder = 0;      // how the primes above 11 change the mean of those survivors
  double secondOrder = 0;     // and the correlations of pairs of them
};

// The terms of every gap size from 0 to maxHistogramGap; all zero for 0 and
// odd sizes.
std::vector<GapTerms> computeGapTerms();

// The density at t, given ln t; the terms of gap size 2 give the twin prime
// density 2 C2 / ln^2 t.
double gapDensity(const GapTerms& terms, double logT);

}  // namespace gapmerge
