#include "merge/primality.hpp"

#include <algorithm>
#include <array>

namespace gapmerge {

namespace {

__extension__ using Wide = unsigned __int128;

constexpr std::array<std::uint64_t, 12> bases{2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};

std::uint64_t multiplyModulo(std::uint64_t a, std::uint64_t b, std::uint64_t m) {
  return static_cast<std::uint64_t>(static_cast<Wide>(a) * b % m);
}

std::uint64_t powerModulo(std::uint64_t base, std::uint64_t exponent, std::uint64_t m) {
  std::uint64_t result = 1;
  base %= m;
  while (exponent > 0) {
    if ((exponent & 1U) != 0) {
      result = multiplyModulo(result, base, m);
    }
    base = multiplyModulo(base, base, m);
    exponent >>= 1U;
  }
  return result;
}

// n - 1 = d * 2^s with d odd; n is a strong probable prime to base a when
// a^d is 1, or a^(d * 2^r) is n - 1 for some r below s.
bool isStrongProbablePrime(std::uint64_t n, std::uint64_t a, std::uint64_t d, int s) {
  std::uint64_t x = powerModulo(a, d, n);
  if (x == 1 || x == n - 1) {
    return true;
  }
  for (int r = 1; r < s; ++r) {
    x = multiplyModulo(x, x, n);
    if (x == n - 1) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool isPrime(std::int64_t value) {
  if (value < 2) {
    return false;
  }
  const auto n = static_cast<std::uint64_t>(value);
  for (const std::uint64_t p : bases) {
    if (n % p == 0) {
      return n == p;
    }
  }
  std::uint64_t d = n - 1;
  int s = 0;
  while ((d & 1U) == 0) {
    d >>= 1U;
    ++s;
  }
  return std::ranges::all_of(bases,
                             [&](std::uint64_t a) { return isStrongProbablePrime(n, a, d, s); });
}

std::int64_t primesStrictlyBetween(std::int64_t low, std::int64_t high) {
  if (high <= low) {
    return 0;
  }
  std::int64_t count = 0;
  for (std::int64_t n = low + 1; n < high; ++n) {
    count += isPrime(n) ? 1 : 0;
  }
  return count;
}

}  // namespace gapmerge
