#pragma once

// The fixed-point text with 15 decimals of a double in [0, 1000), computed
// with integer arithmetic: the exact binary value times 10^15, rounded to
// nearest with ties to even, as std::to_chars gives it, about three times
// faster. Normalized gap counts are all of this form, and they make up most
// of the merged file.
namespace gapmerge {

constexpr int fixed15Decimals = 15;
constexpr double fixed15Limit = 1000.0;

// Writes the text (at most 19 characters) at `at` and returns its end for
// 0 <= value < fixed15Limit; returns nullptr, writing nothing, for any other
// value.
char* writeFixed15(char* at, double value);

}  // namespace gapmerge
