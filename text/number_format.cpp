#include "text/number_format.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "text/digits.hpp"
#include "text/fixed15.hpp"

namespace gapmerge {

namespace {

// The word for infinities and NaN, or "" for a finite value.
std::string_view specialWord(double value) {
  if (std::isnan(value)) {
    return "NaN";
  }
  if (std::isinf(value)) {
    return value > 0 ? "+Infinity" : "-Infinity";
  }
  return {};
}

// Appends digits (and a leading "-") with "." before every group of three
// digits counted from the right.
void appendDigitsGrouped(std::string& out, std::string_view digits) {
  if (digits.starts_with('-')) {
    out.push_back('-');
    digits.remove_prefix(1);
  }
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) {
      out.push_back('.');
    }
    out.push_back(digits[i]);
  }
}

char* writeText(char* at, std::string_view text) {
  std::memcpy(at, text.data(), text.size());
  return at + text.size();
}

}  // namespace

char* writeInteger(char* at, std::int64_t value) {
  auto magnitude = static_cast<std::uint64_t>(value);
  if (value < 0) {
    *at++ = '-';
    magnitude = 0 - magnitude;
  }
  return writeUnsigned(at, magnitude);
}

char* writeFixed(char* at, double value, int decimals) {
  if (const auto word = specialWord(value); !word.empty()) {
    return writeText(at, word);
  }
  if (value == 0.0) {
    value = 0.0;  // no sign for negative zero
  }
  if (decimals == fixed15Decimals) {
    if (char* end = writeFixed15(at, value)) {
      return end;
    }
  }
  return std::to_chars(at, at + maxFixedLength, value, std::chars_format::fixed,
                       std::clamp(decimals, 0, maxFixedDecimals))
      .ptr;
}

void appendInteger(std::string& out, std::int64_t value) {
  std::array<char, maxIntegerLength> buffer{};
  out.append(buffer.data(),
             static_cast<std::size_t>(writeInteger(buffer.data(), value) - buffer.data()));
}

void appendFixed(std::string& out, double value, int decimals) {
  std::array<char, maxFixedLength> buffer{};
  out.append(buffer.data(),
             static_cast<std::size_t>(writeFixed(buffer.data(), value, decimals) - buffer.data()));
}

void appendGrouped(std::string& out, double value) {
  std::array<char, maxFixedLength> buffer{};
  const char* end = writeFixed(buffer.data(), value, 0);
  const std::string_view text(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
  if (specialWord(value).empty()) {
    appendDigitsGrouped(out, text);
  } else {
    out.append(text);
  }
}

void appendGroupedInteger(std::string& out, std::int64_t value) {
  std::array<char, maxIntegerLength> buffer{};
  const char* end = writeInteger(buffer.data(), value);
  appendDigitsGrouped(out, {buffer.data(), static_cast<std::size_t>(end - buffer.data())});
}

std::string formatInteger(std::int64_t value) {
  std::string out;
  appendInteger(out, value);
  return out;
}

std::string formatGroupedInteger(std::int64_t value) {
  std::string out;
  appendGroupedInteger(out, value);
  return out;
}

std::string formatFixed(double value, int decimals) {
  std::string out;
  appendFixed(out, value, decimals);
  return out;
}

}  // namespace gapmerge
