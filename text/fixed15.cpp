#include "text/fixed15.hpp"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace gapmerge {

namespace {

__extension__ using Uint128 = unsigned __int128;

constexpr std::uint64_t tenTo15 = 1000000000000000;
constexpr int mantissaBits = 52;
constexpr int exponentBias = 1075;  // 1023 + 52: value = mantissa * 2^(exponent - bias)

// "00" to "99", two digits at a time.
constexpr std::array<char, 200> digitPairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

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
  const auto s = static_cast<unsigned>(shift);
  auto quotient = static_cast<std::uint64_t>(product >> s);
  const Uint128 remainder = product & ((Uint128{1} << s) - 1);
  const Uint128 half = Uint128{1} << (s - 1);
  if (remainder > half || (remainder == half && (quotient & 1U) != 0)) {
    ++quotient;
  }
  return quotient;
}

}  // namespace

char* writeFixed15(char* at, double value) {
  if (!(value >= 0.0 && value < fixed15Limit)) {
    return nullptr;
  }
  const std::uint64_t scaled = scaleRounded(value);
  const auto integer = static_cast<unsigned>(scaled / tenTo15);
  std::uint64_t fraction = scaled % tenTo15;

  const int integerDigits = integer < 10 ? 1 : (integer < 100 ? 2 : (integer < 1000 ? 3 : 4));
  char* end = at + integerDigits + 1 + fixed15Decimals;
  char* digit = end;
  for (int pair = 0; pair < 7; ++pair) {
    const auto two = static_cast<std::size_t>(fraction % 100) * 2;
    fraction /= 100;
    *--digit = digitPairs[two + 1];
    *--digit = digitPairs[two];
  }
  *--digit = static_cast<char>('0' + fraction);
  *--digit = '.';
  for (unsigned rest = integer; digit != at; rest /= 10) {
    *--digit = static_cast<char>('0' + rest % 10);
  }
  return end;
}

}  // namespace gapmerge
