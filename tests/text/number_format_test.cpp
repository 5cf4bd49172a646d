#include "text/number_format.hpp"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "text/fixed15.hpp"

namespace gapmerge {
namespace {

constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();

// The exact decimal value rounded to nearest (zero unsigned): the reference for formatFixed.
std::string reference(double value, int decimals) {
  std::array<char, 512> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                 value == 0.0 ? 0.0 : value, std::chars_format::fixed, decimals);
  return {buffer.data(), end.ptr};
}

// Random quotients go through the integer path for 15 decimals; powers of two
// times small odd numbers give every tie, sub-normal and the path's limits.
TEST(NumberFormat, formatFixedAgreesWithToChars) {
  std::mt19937_64 random(20261206);
  for (int i = 0; i < 1'000'000; ++i) {
    const std::uint64_t divisor = (random() >> (random() % 64)) | 1U;
    const double value = static_cast<double>(random() % divisor) / static_cast<double>(divisor);
    const int decimals = i % 8 == 0 ? 12 : 15;
    ASSERT_EQ(formatFixed(value, decimals), reference(value, decimals)) << std::hexfloat << value;
  }
  for (int exponent = -1074; exponent < 70; ++exponent) {
    for (const double odd : {1.0, 3.0, 5.0, 1023.0, -3.0}) {
      const double value = std::ldexp(odd, exponent);
      for (const int decimals : {0, 2, 12, 15}) {
        ASSERT_EQ(formatFixed(value, decimals), reference(value, decimals)) << value;
      }
    }
  }
  for (const double value : {-0.0, 0.9999999999999996, 0.9999999999999994, 999.9999999999999,
                             std::nextafter(fixed15Limit, 0.0), fixed15Limit, 1e300}) {
    EXPECT_EQ(formatFixed(value, 15), reference(value, 15)) << value;
  }
}

TEST(NumberFormat, specialValuesAndIntegers) {
  constexpr double infinity = std::numeric_limits<double>::infinity();
  for (const int decimals : {0, 15}) {
    EXPECT_EQ(formatFixed(infinity, decimals), "+Infinity");
    EXPECT_EQ(formatFixed(-std::nan(""), decimals), "NaN");
  }
  EXPECT_EQ(formatFixed(-0.0, 3), "0.000");
  for (std::int64_t power = 1; power != 0; power = power > int64Max / 10 ? 0 : power * 10) {
    for (const std::int64_t value : {power - 1, power, -power}) {
      EXPECT_EQ(formatInteger(value), std::to_string(value));
    }
  }
  EXPECT_EQ(formatInteger(-int64Max - 1), "-9223372036854775808");
}

std::string grouped(double value) {
  std::string out;
  appendGrouped(out, value);
  return out;
}

TEST(NumberFormat, groupedNumbersMarkEveryThreeDigits) {
  EXPECT_EQ(grouped(999.0), "999");
  EXPECT_EQ(grouped(1000.0), "1.000");
  EXPECT_EQ(grouped(-123456.0), "-123.456");
  EXPECT_EQ(grouped(-1234.0), "-1.234");
  EXPECT_EQ(grouped(999.7), "1.000");
  EXPECT_EQ(grouped(-0.0), "0");
  EXPECT_EQ(grouped(-9223372036854775808.0), "-9.223.372.036.854.775.808");
  EXPECT_EQ(grouped(-std::numeric_limits<double>::infinity()), "-Infinity");
  EXPECT_EQ(grouped(std::nan("")), "NaN");
  EXPECT_EQ(formatGroupedInteger(std::numeric_limits<std::int64_t>::min()),
            "-9.223.372.036.854.775.808");
  EXPECT_EQ(formatGroupedInteger(int64Max), "9.223.372.036.854.775.807");
}

}  // namespace
}  // namespace gapmerge
