#pragma once

#include <cstdint>
#include <string>

#include "make_slices/slice_sieve.hpp"

// The text of a Tramvelok slice report, as the sieve writes it on Windows.
namespace make_slices {

// value with "." thousands marks: 10000000 gives "10.000.000".
std::string groupThousands(std::uint64_t value);

// "Tramvelok <low> to <high> <stamp>.txt", both bounds grouped.
std::string reportName(const SliceRange& range, const std::string& stamp);

// The whole report, every line ended by CR LF. elapsed is the sieving time
// as written, in seconds without the unit.
std::string reportText(const SliceSummary& slice, const std::string& elapsed);

// seconds with 3 decimals.
std::string formatSeconds(double seconds);

}  // namespace make_slices
