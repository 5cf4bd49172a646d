#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Whole numbers on the command line of make-slices.
namespace make_slices {

// Decimal digits, plain or grouped by threes with one kind of mark ("." or
// "_": 10.000.000.000, 10_000_000_000), or a decimal with an exponent whose
// value is a whole number (1e10, 2.5e9, 1E3, 1e+3). nullopt for anything
// else: signs, fractions (2.5, 1.5e0), loose marks, and values above 2^64 - 1.
std::optional<std::uint64_t> parseWholeNumber(std::string_view text);

}  // namespace make_slices
