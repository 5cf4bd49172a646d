#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Choosing the reports to verify at random, the same way on every machine:
// the generator and the selection are fixed here, not left to a library.
namespace gapmerge {

// splitmix64 (Steele, Lea and Flood, 2014): a 64-bit state advanced by
// 0x9E3779B97F4A7C15 and mixed into each output.
struct SplitMix64 {
  std::uint64_t state = 0;
};

std::uint64_t nextRandom(SplitMix64& generator);

// A number from 0 to bound - 1 (bound above 0), each equally likely: outputs
// below 2^64 mod bound are drawn again, the rest taken modulo bound.
std::uint64_t randomBelow(SplitMix64& generator, std::uint64_t bound);

// Which of total reports (in run order) to verify: count of them (all when
// count is total or more), chosen by selection sampling from a generator
// seeded with seed. Report k is taken with probability (still to choose) /
// (total - k), so every set of count reports is equally likely.
std::vector<bool> chooseReports(std::size_t total, std::uint64_t count, std::uint64_t seed);

}  // namespace gapmerge
