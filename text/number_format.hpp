#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Number-to-text conversions of the merged file and the warnings. They never
// consult a locale. The write forms put the text at a caller's cursor and
// return the end of it, so that a whole section is built without one string
// per number; the append and format forms serve everything else.
namespace gapmerge {

// Room that writeInteger and writeFixed need at the cursor: the 20 characters
// of -9223372036854775808, or the 309 integer digits of the largest double,
// its sign, the point and up to maxFixedDecimals decimals.
constexpr std::size_t maxIntegerLength = 20;
constexpr int maxFixedDecimals = 40;
constexpr std::size_t maxFixedLength = 311 + maxFixedDecimals;

// Decimal digits with a leading "-" for negative values.
char* writeInteger(char* at, std::int64_t value);

// Fixed-point text with exactly `decimals` digits after "." (at most
// maxFixedDecimals), the exact decimal expansion rounded to nearest;
// "+Infinity", "-Infinity", "NaN" for the special values and no sign for
// negative zero.
char* writeFixed(char* at, double value, int decimals);

void appendInteger(std::string& out, std::int64_t value);
void appendFixed(std::string& out, double value, int decimals);

// As appendFixed, with the integer digits grouped by threes with `separator`
// and `mark` standing for the decimal point.
void appendGrouped(std::string& out, double value, int decimals, std::string_view mark,
                   std::string_view separator);

// The exact decimal digits of value grouped by threes with separator, and a
// leading "-" for negative values: -1234567 with "." gives "-1.234.567".
void appendGroupedInteger(std::string& out, std::int64_t value, std::string_view separator);

std::string formatInteger(std::int64_t value);
std::string formatGroupedInteger(std::int64_t value, std::string_view separator);
std::string formatFixed(double value, int decimals);
std::string formatGrouped(double value, int decimals, std::string_view mark,
                          std::string_view separator);

}  // namespace gapmerge
