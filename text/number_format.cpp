#include "text/number_format.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

#include "text/fixed15.hpp"

namespace gapmerge {

namespace {

// Enough for the 309 integer digits of the largest double, a sign, the point
// and the decimals the program asks for (never more than 15).
constexpr int maxDecimals = 40;
constexpr std::size_t fixedBufferSize = 400;

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

// Plain fixed-point text of a finite value; negative zero becomes zero.
template <std::size_t N>
std::string_view fixedDigits(std::array<char, N>& buffer, double value, int decimals) {
  if (value == 0.0) {
    value = 0.0;
  }
  const int precision = decimals < 0 ? 0 : (decimals > maxDecimals ? maxDecimals : decimals);
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, precision);
  return {buffer.data(), result.ec == std::errc{} ? static_cast<std::size_t>(result.ptr - buffer.data()) : 0};
}

}  // namespace

void appendInteger(std::string& out, std::int64_t value) {
  std::array<char, 24> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  out.append(buffer.data(), result.ptr);
}

void appendFixed(std::string& out, double value, int decimals) {
  if (const auto word = specialWord(value); !word.empty()) {
    out.append(word);
    return;
  }
  if (decimals == 15 && appendFixed15(out, value)) {
    return;
  }
  std::array<char, fixedBufferSize> buffer{};
  out.append(fixedDigits(buffer, value, decimals));
}

void appendGrouped(std::string& out, double value, int decimals, std::string_view mark,
                   std::string_view separator) {
  if (const auto word = specialWord(value); !word.empty()) {
    out.append(word);
    return;
  }
  std::array<char, fixedBufferSize> buffer{};
  std::string_view text = fixedDigits(buffer, value, decimals);
  if (!text.empty() && text.front() == '-') {
    out.push_back('-');
    text.remove_prefix(1);
  }
  const auto point = text.find('.');
  const std::string_view integer = text.substr(0, point);
  for (std::size_t i = 0; i < integer.size(); ++i) {
    if (i > 0 && (integer.size() - i) % 3 == 0) {
      out.append(separator);
    }
    out.push_back(integer[i]);
  }
  if (point != std::string_view::npos) {
    out.append(mark).append(text.substr(point + 1));
  }
}

std::string formatInteger(std::int64_t value) {
  std::string out;
  appendInteger(out, value);
  return out;
}

std::string formatFixed(double value, int decimals) {
  std::string out;
  appendFixed(out, value, decimals);
  return out;
}

std::string formatGrouped(double value, int decimals, std::string_view mark,
                          std::string_view separator) {
  std::string out;
  appendGrouped(out, value, decimals, mark, separator);
  return out;
}

}  // namespace gapmerge
