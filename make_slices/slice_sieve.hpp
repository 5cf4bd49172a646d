#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "make_slices/slice_plan.hpp"

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

// Sieves the touching slices (in increasing order) in walks of consecutive
// slices, the walks on threads threads (at least 1), and hands each
// summary to done in slice order, as soon as it and all before it are
// complete. Stops early, and returns false, when done returns false.
bool sieveSlices(const std::vector<SliceRange>& slices, unsigned threads,
                 const std::function<bool(const SliceSummary&)>& done);

}  // namespace make_slices
