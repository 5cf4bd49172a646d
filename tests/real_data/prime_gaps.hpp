#pragma once

#include <cstdint>
#include <map>

// The expected values, counted straight from the primes.
namespace gapmerge::test {

// Gap size to quantity.
using GapHistogram = std::map<std::int64_t, std::int64_t>;

// How often consecutive primes p < q, both in [from, to], lie q - p apart.
GapHistogram countGaps(std::uint64_t from, std::uint64_t to);

// The number of primes in [from, to].
std::int64_t countPrimes(std::uint64_t from, std::uint64_t to);

}  // namespace gapmerge::test
