#pragma once

#include <cstdint>
#include <vector>

#include "sieve/range_sieve.hpp"

// Cutting a range of integers into touching slices.
namespace make_slices {

// The integers low to high, both included.
using SliceRange = gapmerge::SieveRange;

// count slices of nearly equal width: slice k ends at from + (to - from) * (k + 1) / count,
// so 1 to 100.000.000 in 10 slices ends them at 10.000.000, 20.000.000, and so on.
// Needs from <= to and 1 <= count <= to - from + 1.
std::vector<SliceRange> cutIntoSlices(std::uint64_t from, std::uint64_t to, std::uint64_t count);

// Slices of size integers each, from from on; the last one ends at to. Needs size >= 1.
std::vector<SliceRange> cutBySize(std::uint64_t from, std::uint64_t to, std::uint64_t size);

}  // namespace make_slices
