#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tools/make_slices_plan.hpp"

// Sieving the slices: the primes and the gaps between consecutive primes
// inside each slice.
namespace make_slices {

struct SliceSummary {
  SliceRange range;
  std::uint64_t primeCount = 0;
  std::uint64_t firstPrime = 0;  // 0 when the slice holds no prime
  std::uint64_t lastPrime = 0;   // 0 when the slice holds no prime
  // gapCounts[g]: how often two consecutive primes of the slice lie g apart.
  std::vector<std::uint64_t> gapCounts;
  double seconds = 0.0;  // time spent on this slice
};

// Sieves the touching slices (in increasing order) in one pass and hands
// each one's summary to done as soon as the slice is complete.
void sieveSlices(const std::vector<SliceRange>& slices,
                 const std::function<void(const SliceSummary&)>& done);

}  // namespace make_slices
