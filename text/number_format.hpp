#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Number-to-text conversions of the merged file and the warnings. They never
// consult a locale. The append forms write into a caller's buffer so that a
// whole section is built without one string per number.
namespace gapmerge {

// Decimal digits with a leading "-" for negative values.
void appendInteger(std::string& out, std::int64_t value);

// Fixed-point text with exactly `decimals` digits after ".", the exact decimal
// expansion rounded to nearest; "+Infinity", "-Infinity", "NaN" for the
// special values and no sign for negative zero.
void appendFixed(std::string& out, double value, int decimals);

// As appendFixed, with the integer digits grouped by threes with `separator`
// and `mark` standing for the decimal point.
void appendGrouped(std::string& out, double value, int decimals, std::string_view mark,
                   std::string_view separator);

std::string formatInteger(std::int64_t value);
std::string formatFixed(double value, int decimals);
std::string formatGrouped(double value, int decimals, std::string_view mark,
                          std::string_view separator);

}  // namespace gapmerge
