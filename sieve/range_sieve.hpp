#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

// The primes of ranges of integers, from libprimesieve: first and last prime,
// how many there are and how often consecutive ones lie each distance apart.
// Used by the verification of reports and by make-slices.
namespace gapmerge {

// The integers low to high, both included.
struct SieveRange {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
};

// No two consecutive primes below 2^64 lie 2048 or more apart (the largest
// such gap is 1550), so every gap of a range has a counter.
constexpr std::size_t gapSlots = 2048;

struct RangePrimes {
  std::uint64_t count = 0;
  std::uint64_t first = 0;  // 0 when the range holds no prime
  std::uint64_t last = 0;   // 0 when the range holds no prime
  // gapCounts[g]: how often two consecutive primes of the range lie g apart.
  std::array<std::uint64_t, gapSlots> gapCounts{};
};

// The highest bound a range may have: a walk ends at the first prime above
// its last range, and the largest prime below 2^64 is 2^64 - 59.
constexpr std::uint64_t largestSievable = 0xFFFF'FFFF'FFFF'FFC4;

// One walk of the sieve serves ranges in ascending order that start no more
// than walkSpan integers after the walk's first one, at most walkRanges of
// them: starting a sieve costs about 0.2 ms, which a walk over many small
// ranges pays once, while big ranges still spread over threads in walks of
// their own.
constexpr std::uint64_t walkSpan = 100'000'000;
constexpr std::size_t walkRanges = 1024;

// True when next may join a walk that started at walkLow, holds walkSize
// ranges and ended with previous: it starts above previous and ends within
// walkSpan of walkLow.
bool extendsWalk(std::uint64_t walkLow, std::size_t walkSize, const SieveRange& previous,
                 const SieveRange& next);

// Sieves ranges (ascending, not overlapping, none above largestSievable) in
// one walk and hands the primes of each to done(index, primes) as soon as that
// range is complete. Adds the integers walked to sieved while it goes.
void sieveRanges(std::span<const SieveRange> ranges,
                 const std::function<void(std::size_t, const RangePrimes&)>& done,
                 std::atomic<std::uint64_t>& sieved);

}  // namespace gapmerge
