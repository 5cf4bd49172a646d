#pragma once

#include <array>
#include <cstddef>
#include <vector>

// The pattern that the primes 2 to 11 cut out of the integers. The integers
// prime to all of them, the survivors, repeat with period 2310, 480 in each
// period; the gap model takes this pattern as it is and the larger primes by
// their effect on it (merge/gap_density.hpp).
namespace gapmerge {

constexpr int smallPrimorial = 2 * 3 * 5 * 7 * 11;
constexpr int survivorsPerPeriod = 1 * 2 * 4 * 6 * 10;
constexpr double survivorShare = double{survivorsPerPeriod} / smallPrimorial;
constexpr int largestSmallPrime = 11;

// Between two survivors g apart (g up to 2000) lie g * survivorShare survivors,
// less 5 to more 4: the counts fit a window of betweenSpread values.
constexpr std::size_t betweenSpread = 12;

// How many survivors lie strictly between two survivors g apart: over the
// pairs of one period, a share shares[i] has fewest + i between them.
struct SurvivorsBetween {
  int fewest = 0;
  std::array<double, betweenSpread> shares{};
};

// Indexed by g up to maxGap; odd g and g = 0 have no pairs and stay empty.
std::vector<SurvivorsBetween> countSurvivorsBetween(int maxGap);

// The chances that a group of odd small primes spares positions, given that
// it spares 0 and g, indexed [g mod modulus][j mod modulus] where modulus is
// the product of the group: single for position j, pair for both i and i + j,
// averaged over i.
struct SparedChances {
  int modulus = 0;
  std::vector<double> single;
  std::vector<double> pair;
};

// The odd small primes in two groups, 3, 5 and 7 (modulus 105) and 11, so
// that a position needs two lookups.
constexpr std::size_t smallPrimeGroups = 2;
std::array<SparedChances, smallPrimeGroups> sparedChancesOfSmallPrimes();

}  // namespace gapmerge
