#include "tests/real_data/prime_gaps.hpp"

#include <primesieve.hpp>

namespace gapmerge::test {

GapHistogram countGaps(std::uint64_t from, std::uint64_t to) {
  GapHistogram gaps;
  primesieve::iterator primes(from, to);
  std::uint64_t previous = primes.next_prime();
  for (std::uint64_t prime = primes.next_prime(); prime <= to; prime = primes.next_prime()) {
    ++gaps[static_cast<std::int64_t>(prime - previous)];
    previous = prime;
  }
  return gaps;
}

std::int64_t countPrimes(std::uint64_t from, std::uint64_t to) {
  return static_cast<std::int64_t>(primesieve::count_primes(from, to));
}

}  // namespace gapmerge::test
