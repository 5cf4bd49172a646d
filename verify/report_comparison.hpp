#pragma once

#include <optional>
#include <string>

#include "merge/report.hpp"
#include "sieve/range_sieve.hpp"

// What a report says against a fresh sieve of its range.
namespace gapmerge {

// The first difference, in this order: first prime, last prime, number of
// primes, number of gaps, then the gap table item by item in ascending gap
// order (only gaps that occur, each once); none when everything agrees.
std::optional<std::string> firstDifference(const ReportStatement& statement,
                                           const RangePrimes& primes);

}  // namespace gapmerge
