#include "make_slices/number_argument.hpp"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace make_slices {

namespace {

constexpr std::size_t groupDigits = 3;
constexpr int largestPowerOfTen = std::numeric_limits<std::uint64_t>::digits10;

bool isDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Plain decimal digits; nullopt when they are none or their value does not fit.
std::optional<std::uint64_t> valueOfDigits(std::string_view digits) {
  std::uint64_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value);
  if (digits.empty() || error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return value;
}

// "10.000.000" or "10_000_000": a first group of one to three digits, then
// groups of three, each after the same mark.
std::optional<std::uint64_t> parseGrouped(std::string_view text) {
  const std::size_t first = text.find_first_of("._");
  if (first == std::string_view::npos) {
    return valueOfDigits(text);
  }
  if (first == 0 || first > groupDigits) {
    return std::nullopt;
  }
  const char mark = text[first];
  std::string digits(text.substr(0, first));
  for (std::size_t at = first; at < text.size(); at += groupDigits + 1) {
    const std::string_view group = text.substr(at + 1, groupDigits);
    if (text[at] != mark || group.size() != groupDigits || !isDigits(group)) {
      return std::nullopt;
    }
    digits.append(group);
  }
  return valueOfDigits(digits);
}

// value * 10^power; nullopt when that exceeds 2^64 - 1.
std::optional<std::uint64_t> scaleByTen(std::uint64_t value, std::uint64_t power) {
  if (value == 0) {
    return value;
  }
  if (power > largestPowerOfTen) {
    return std::nullopt;
  }
  for (std::uint64_t k = 0; k < power; ++k) {
    if (value > std::numeric_limits<std::uint64_t>::max() / 10) {
      return std::nullopt;
    }
    value *= 10;
  }
  return value;
}

// "2.5e9": digits, optionally a point and more digits, "e" or "E", an exponent
// with an optional "+".
std::optional<std::uint64_t> parseScientific(std::string_view mantissa,
                                             std::string_view exponentText) {
  if (exponentText.starts_with('+')) {
    exponentText.remove_prefix(1);
  }
  const auto exponent = valueOfDigits(exponentText);
  const std::size_t point = mantissa.find('.');
  const std::string_view whole = mantissa.substr(0, point);
  std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
  if (!exponent || !isDigits(whole) || (point != std::string_view::npos && !isDigits(fraction))) {
    return std::nullopt;
  }
  while (fraction.ends_with('0')) {
    fraction.remove_suffix(1);
  }
  if (fraction.size() > *exponent) {
    return std::nullopt;
  }
  const auto digits = valueOfDigits(std::string(whole).append(fraction));
  return digits ? scaleByTen(*digits, *exponent - fraction.size()) : std::nullopt;
}

}  // namespace

std::optional<std::uint64_t> parseWholeNumber(std::string_view text) {
  const std::size_t exponent = text.find_first_of("eE");
  if (exponent == std::string_view::npos) {
    return parseGrouped(text);
  }
  return parseScientific(text.substr(0, exponent), text.substr(exponent + 1));
}

}  // namespace make_slices
