#include "text/fixed15.hpp"

#include "text/digits.hpp"

#include <bit>
#include <cstddef>
#include <cstdint>

namespace gapmerge {

namespace {

__extension__ using Uint128 = unsigned __int128;

constexpr std::uint64_t tenTo15 = 1000000000000000;
constexpr int mantissaBits = 52;
constexpr int exponentBias = 1075;  // 1023 + 52: value = mantissa * 2^(exponent - bias)

constexpr std::uint64_t signBit = std::uint64_t{1} << 63;

// value * 10^15 rounded to nearest, ties to even, for 0 <= value < 2^52 (the
// sign bit of -0.0 is ignored).
std::uint64_t scaleRounded(double value) {
  const auto bits = std::bit_cast<std::uint64_t>(value) & ~signBit;
  const auto biased = static_cast<int>(bits >> mantissaBits);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << mantissaBits) - 1);
  int shift = exponentBias - 1;  // subnormal numbers
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << mantissaBits;
    shift = exponentBias - biased;
  }
  const Uint128 product = Uint128{mantissa} * tenTo15;
  if (shift >= 127) {
    return 0;  // below 2^-74: far less than half of 10^-15
  }
  // Adding just under half rounds up what lies above the half; the last bit
  // of the truncated quotient tips an exact half towards the even neighbour.
  const auto s = static_cast<unsigned>(shift);
  const Uint128 belowHalf = (Uint128{1} << (s - 1)) - 1;
  const Uint128 odd = (product >> s) & 1U;
  return static_cast<std::uint64_t>((product + belowHalf + odd) >> s);
}

}  // namespace

char* writeFixed15(char* at, double value) {
  if (!(value >= 0.0 && value < fixed15Limit)) {
    return nullptr;
  }
  const std::uint64_t scaled = scaleRounded(value);
  char* point = writeUnsigned(at, scaled / tenTo15);
  // 10^15 + fraction has 16 digits: a leading 1, overwritten by the point,
  // and the 15 decimals with their leading zeros.
  const std::uint64_t marked = tenTo15 + scaled % tenTo15;
  writeEightDigits(point, static_cast<std::uint32_t>(marked / 100000000));
  writeEightDigits(point + 8, static_cast<std::uint32_t>(marked % 100000000));
  *point = '.';
  return point + 16;
}

}  // namespace gapmerge
