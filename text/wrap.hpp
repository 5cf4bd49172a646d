#pragma once

#include <cstdint>

// Signed 64-bit arithmetic that wraps around like two's complement instead of
// overflowing. Report values are read and summed without overflow checks, so
// every sum and product of them goes through these helpers.
namespace gapmerge {

constexpr std::int64_t toSigned(std::uint64_t v) {
  return static_cast<std::int64_t>(v);
}

constexpr std::int64_t addWrap(std::int64_t a, std::int64_t b) {
  return toSigned(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}

constexpr std::int64_t subtractWrap(std::int64_t a, std::int64_t b) {
  return toSigned(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}

constexpr std::int64_t multiplyWrap(std::int64_t a, std::int64_t b) {
  return toSigned(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b));
}

constexpr std::int64_t negateWrap(std::int64_t a) {
  return subtractWrap(0, a);
}

}  // namespace gapmerge
