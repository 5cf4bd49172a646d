#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// A 128-bit fingerprint of a gap table: in each of two lanes, the sum over
// its items of an odd pseudo-random weight of the gap size times the
// quantity, wrapping. It is linear, so it depends only on the quantities
// summed by size: items may come in any order or be split, and a size whose
// quantities sum to 0 counts as absent. Two tables that differ collide with a
// chance of about 2^-128.
namespace gapmerge {

using TableFingerprint = std::array<std::uint64_t, 2>;

// splitmix64's finaliser.
constexpr std::uint64_t mixBits(std::uint64_t x) {
  x ^= x >> 30U;
  x *= 0xBF58'476D'1CE4'E5B9U;
  x ^= x >> 27U;
  x *= 0x94D0'49BB'1331'11EBU;
  return x ^ (x >> 31U);
}

constexpr void addToFingerprint(TableFingerprint& table, std::int64_t gap, std::int64_t quantity) {
  constexpr std::array<std::uint64_t, 2> laneSeeds{0x9E37'79B9'7F4A'7C15U, 0xD1B5'4A32'D192'ED03U};
  const auto size = static_cast<std::uint64_t>(gap);
  for (std::size_t lane = 0; lane < table.size(); ++lane) {
    table[lane] += (mixBits(size + laneSeeds[lane]) | 1U) * static_cast<std::uint64_t>(quantity);
  }
}

}  // namespace gapmerge
