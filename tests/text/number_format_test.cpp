#include "text/number_format.hpp"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

namespace gapmerge {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double quietNaN = std::numeric_limits<double>::quiet_NaN();

// The C library's fixed-point text of value, the reference for formatFixed.
std::string printfFixed(double value, int decimals) {
  std::array<char, 512> buffer{};
  const int length = std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, value);
  return {buffer.data(), static_cast<std::size_t>(length)};
}

TEST(NumberFormat, formatIntegerWritesPlainDigits) {
  EXPECT_EQ(formatInteger(0), "0");
  EXPECT_EQ(formatInteger(-7), "-7");
  EXPECT_EQ(formatInteger(1000000), "1000000");
  EXPECT_EQ(formatInteger(std::numeric_limits<std::int64_t>::max()), "9223372036854775807");
  EXPECT_EQ(formatInteger(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(NumberFormat, formatFixedRoundsToTheGivenDecimals) {
  EXPECT_EQ(formatFixed(0.25, 15), "0.250000000000000");
  EXPECT_EQ(formatFixed(2.0 / 3.0, 15), "0.666666666666667");
  EXPECT_EQ(formatFixed(-2.0 / 3.0, 15), "-0.666666666666667");
  EXPECT_EQ(formatFixed(5.0 / 9.0, 15), "0.555555555555556");
  EXPECT_EQ(formatFixed(1.0, 15), "1.000000000000000");
  EXPECT_EQ(formatFixed(7.0 / 7.0, 15), "1.000000000000000");
  EXPECT_EQ(formatFixed(0.9999999999999996, 15), "1.000000000000000");
  EXPECT_EQ(formatFixed(0.9999999999999994, 15), "0.999999999999999");
  EXPECT_EQ(formatFixed(0.0123456789, 12), "0.012345678900");
  EXPECT_EQ(formatFixed(0.00469018732215, 12), "0.004690187322");
  EXPECT_EQ(formatFixed(0.0046901873225001, 12), "0.004690187323");
  EXPECT_EQ(formatFixed(-0.0046901873225001, 12), "-0.004690187323");
  EXPECT_EQ(formatFixed(1234.5678, 0), "1235");
  EXPECT_EQ(formatFixed(0.0, 15), "0.000000000000000");
  EXPECT_EQ(formatFixed(1e20, 2), "100000000000000000000.00");
}

TEST(NumberFormat, formatFixedWritesSpecialValuesAndUnsignedZero) {
  for (const int decimals : {0, 3, 12, 15}) {
    EXPECT_EQ(formatFixed(infinity, decimals), "+Infinity");
    EXPECT_EQ(formatFixed(-infinity, decimals), "-Infinity");
    EXPECT_EQ(formatFixed(quietNaN, decimals), "NaN");
    EXPECT_EQ(formatFixed(-quietNaN, decimals), "NaN");
  }
  EXPECT_EQ(formatFixed(-0.0, 0), "0");
  EXPECT_EQ(formatFixed(-0.0, 3), "0.000");
  EXPECT_EQ(formatFixed(-0.0, 15), "0.000000000000000");
}

// The fixed-point text must be the exact decimal value rounded to nearest,
// which the C library's conversion gives under the "C" locale.
TEST(NumberFormat, formatFixedAgreesWithTheCLibrary) {
  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  std::mt19937_64 random(20260101);
  std::uniform_int_distribution<std::int64_t> any(std::numeric_limits<std::int64_t>::min(),
                                                  std::numeric_limits<std::int64_t>::max());
  std::uniform_int_distribution<std::int64_t> count(0, 10'000'000);
  std::uniform_int_distribution<int> bits(1, 63);
  int mismatches = 0;
  const auto check = [&](double value, int decimals) {
    const std::string expected = printfFixed(value == 0.0 ? 0.0 : value, decimals);
    const std::string actual = formatFixed(value, decimals);
    if (actual != expected && ++mismatches <= 10) {
      ADD_FAILURE() << "value " << std::hexfloat << value << " decimals " << decimals << ": got "
                    << actual << ", expected " << expected;
    }
  };
  for (int i = 0; i < 100'000; ++i) {
    const std::int64_t total = count(random) + 1;
    const std::int64_t part = count(random) % (total + 1);
    check(static_cast<double>(part) / static_cast<double>(total), 15);
    const std::int64_t a = any(random) >> bits(random);
    const std::int64_t b = (any(random) >> bits(random)) | 1;
    check(static_cast<double>(a) / static_cast<double>(b), 15);
    check(static_cast<double>(a) / static_cast<double>(b), 12);
  }
  for (int i = 0; i < 20'000; ++i) {
    const double value = std::bit_cast<double>(random());
    if (std::isfinite(value) && value != 0.0) {
      check(value, 15);
      check(value, 0);
    }
  }
  for (const double tie : {0.5, 1.5, 2.5, -2.5, 0.125, 0.375, std::ldexp(1.0, -16),
                           std::ldexp(3.0, -17), std::ldexp(1.0, -13)}) {
    check(tie, 0);
    check(tie, 2);
    check(tie, 12);
    check(tie, 15);
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(NumberFormat, formatGroupedGroupsIntegerDigitsByThree) {
  EXPECT_EQ(formatGrouped(0.0, 0, ",", "."), "0");
  EXPECT_EQ(formatGrouped(7.0, 0, ",", "."), "7");
  EXPECT_EQ(formatGrouped(999.0, 0, ",", "."), "999");
  EXPECT_EQ(formatGrouped(1000.0, 0, ",", "."), "1.000");
  EXPECT_EQ(formatGrouped(12345.0, 0, ",", "."), "12.345");
  EXPECT_EQ(formatGrouped(1234567.0, 0, ",", "."), "1.234.567");
  EXPECT_EQ(formatGrouped(1000000000.0, 0, ",", "."), "1.000.000.000");
  EXPECT_EQ(formatGrouped(-123.0, 0, ",", "."), "-123");
  EXPECT_EQ(formatGrouped(-123456.0, 0, ",", "."), "-123.456");
  EXPECT_EQ(formatGrouped(-1234.0, 0, ",", "."), "-1.234");
  EXPECT_EQ(formatGrouped(999.7, 0, ",", "."), "1.000");
  EXPECT_EQ(formatGrouped(9223372036854775808.0, 0, ",", "."), "9.223.372.036.854.775.808");
  EXPECT_EQ(formatGrouped(-9223372036854775808.0, 0, ",", "."), "-9.223.372.036.854.775.808");
  const std::int64_t aboveExactDoubles = 9007199254740993;
  EXPECT_EQ(formatGrouped(static_cast<double>(aboveExactDoubles), 0, ",", "."),
            "9.007.199.254.740.992");
}

TEST(NumberFormat, formatGroupedInsertsMarksWhole) {
  EXPECT_EQ(formatGrouped(1234567.0, 0, "<mark>", "' "), "1' 234' 567");
  EXPECT_EQ(formatGrouped(1234567.0, 0, ",", ""), "1234567");
  EXPECT_EQ(formatGrouped(1234567.891, 2, ",", "."), "1.234.567,89");
  EXPECT_EQ(formatGrouped(-1234.5, 1, ",", "."), "-1.234,5");
  EXPECT_EQ(formatGrouped(123.25, 2, " dec ", "."), "123 dec 25");
  EXPECT_EQ(formatGrouped(1234.5, 3, "", "."), "1.234500");
  EXPECT_EQ(formatGrouped(0.5, 3, ",", "."), "0,500");
  EXPECT_EQ(formatGrouped(-0.0, 0, ",", "."), "0");
  EXPECT_EQ(formatGrouped(-0.0, 2, ",", "."), "0,00");
  for (const int decimals : {0, 2}) {
    EXPECT_EQ(formatGrouped(infinity, decimals, "xyz", "--"), "+Infinity");
    EXPECT_EQ(formatGrouped(-infinity, decimals, "", ""), "-Infinity");
    EXPECT_EQ(formatGrouped(quietNaN, decimals, ",", "."), "NaN");
  }
}

}  // namespace
}  // namespace gapmerge
