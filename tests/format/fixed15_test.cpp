// The integer formatting of 15-decimal fractions against std::to_chars, which
// gives the exact decimal expansion rounded to nearest.
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

std::string reference(double value) {
  std::array<char, 64> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                 std::chars_format::fixed, 15);
  return {buffer.data(), end.ptr};
}

std::string fast(double value) {
  std::array<char, 32> buffer{};
  const char* end = writeFixed15(buffer.data(), value);
  EXPECT_NE(end, nullptr) << value;
  return end == nullptr ? std::string()
                        : std::string(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
}

TEST(Fixed15, agreesWithToCharsOnRandomQuotients) {
  std::mt19937_64 random(20261206);
  for (int i = 0; i < 1000000; ++i) {
    const std::uint64_t divisor = (random() >> (random() % 64)) | 1U;
    const std::uint64_t count = random() % divisor;
    const double value = static_cast<double>(count) / static_cast<double>(divisor);
    ASSERT_EQ(fast(value), reference(value)) << count << " / " << divisor;
  }
}

TEST(Fixed15, agreesOnTiesEdgesAndTinyValues) {
  for (int exponent = -1074; exponent < 10; ++exponent) {
    for (const double odd : {1.0, 3.0, 5.0, 7.0, 1023.0}) {
      const double value = std::ldexp(odd, exponent);
      if (value < fixed15Limit) {
        ASSERT_EQ(fast(value), reference(value)) << odd << " * 2^" << exponent;
      }
    }
  }
  for (const double value :
       {0.0, -0.0, 1.0, 0.5, 0.9999999999999995, 0.9999999999999994, 999.9999999999999,
        std::nextafter(fixed15Limit, 0.0), std::numeric_limits<double>::denorm_min()}) {
    EXPECT_EQ(fast(value), reference(value == 0.0 ? 0.0 : value)) << value;
  }
  EXPECT_EQ(fast(-0.0), "0.000000000000000");
  EXPECT_EQ(fast(1.0), "1.000000000000000");
}

TEST(Fixed15, leavesOtherValuesToTheGeneralConversion) {
  std::array<char, 32> buffer{};
  for (const double value : {-1e-300, -1.0, fixed15Limit, 1e300,
                             std::numeric_limits<double>::infinity(), std::nan("")}) {
    EXPECT_EQ(writeFixed15(buffer.data(), value), nullptr) << value;
  }
}

}  // namespace
}  // namespace gapmerge
