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

// The whole number nearest to value, its digits grouped by threes with ".":
// 1234567.0 gives "1.234.567"; the special values as appendFixed writes them.
void appendGrouped(std::string& out, double value);

// The exact digits of value grouped by threes with ".": -1234567 gives
// "-1.234.567".
void appendGroupedInteger(std::string& out, std::int64_t value);

std::string formatInteger(std::int64_t value);
std::string formatGroupedInteger(std::int64_t value);
std::string formatFixed(double value, int decimals);

}  // namespace gapmerge
