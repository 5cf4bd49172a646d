#pragma once

#include <cstdint>

// Whether a 64-bit integer is prime, decided exactly, and the primes of a
// short interval counted with it.
namespace gapmerge {

// Miller-Rabin with the first twelve primes as bases, which decides every
// number below 3.3 * 10^24 (Sorenson and Webster 2015), so every 64-bit one.
bool isPrime(std::int64_t value);

// The primes p with low < p < high; 0 when high <= low + 1.
std::int64_t primesStrictlyBetween(std::int64_t low, std::int64_t high);

}  // namespace gapmerge
