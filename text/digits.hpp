#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Decimal digits written two at a time, for the number formats.
namespace gapmerge {

// "00", "01", ..., "99".
inline constexpr std::array<char, 200> digitPairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Writes the two digits of value (below 100) ending at `end`; returns the
// position before them.
inline char* writePairBefore(char* end, std::uint32_t value) {
  const std::size_t at = std::size_t{2} * value;
  end[-2] = digitPairs[at];
  end[-1] = digitPairs[at + 1];
  return end - 2;
}

// Writes value (below 10^8) as exactly 8 digits, leading zeros kept.
inline char* writeEightDigits(char* at, std::uint32_t value) {
  char* end = at + 8;
  const std::uint32_t high = value / 10000;
  const std::uint32_t low = value % 10000;
  writePairBefore(writePairBefore(end, low % 100), low / 100);
  writePairBefore(writePairBefore(end - 4, high % 100), high / 100);
  return end;
}

// The number of decimal digits of value.
inline int digitCount(std::uint64_t value) {
  int count = 1;
  for (; value >= 10000; value /= 10000) {
    count += 4;
  }
  return count + (value >= 10 ? 1 : 0) + (value >= 100 ? 1 : 0) + (value >= 1000 ? 1 : 0);
}

// Writes the digits of value without leading zeros; returns their end.
inline char* writeUnsigned(char* at, std::uint64_t value) {
  char* end = at + digitCount(value);
  char* digit = end;
  while (value >= 100) {
    digit = writePairBefore(digit, static_cast<std::uint32_t>(value % 100));
    value /= 100;
  }
  if (value >= 10) {
    writePairBefore(digit, static_cast<std::uint32_t>(value));
  } else {
    digit[-1] = static_cast<char>('0' + value);
  }
  return end;
}

}  // namespace gapmerge
