#pragma once

#include <string>

// The fixed-point text with 15 decimals of a double in [0, 1000), computed
// with integer arithmetic: the exact binary value times 10^15, rounded to
// nearest with ties to even, as std::to_chars gives it, about three times
// faster. Normalized gap counts are all of this form, and they make up most
// of the merged file.
namespace gapmerge {

constexpr double fixed15Limit = 1000.0;

// Appends the text and returns true for 0 <= value < fixed15Limit; returns
// false (appending nothing) for any other value.
bool appendFixed15(std::string& out, double value);

}  // namespace gapmerge
