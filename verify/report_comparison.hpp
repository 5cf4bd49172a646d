#pragma once

#include <cstdint>
#include <optional>

#include "merge/report.hpp"
#include "sieve/range_sieve.hpp"

// What a report says about the primes of its range, held against a fresh
// sieve of that range.
namespace gapmerge {

// What differs first.
enum class Differing {
  firstPrime,
  lastPrime,
  primes,          // the number of primes
  gaps,            // the number of gaps
  gapCount,        // a gap counted in both, a different number of times
  gapOnlyBySieve,  // a gap that occurs, which the report does not list
  gapOnlyInReport  // a gap that the report lists, which never occurs
};

struct Difference {
  Differing what = Differing::firstPrime;
  std::optional<std::int64_t> said;   // by the report; none when it lacks the line
  std::optional<std::int64_t> found;  // by the sieve; none for a prime of a range without primes
  std::int64_t gap = 0;               // for the gap table items

  friend bool operator==(const Difference&, const Difference&) = default;
};

// The first difference between what the report says (the reading of it with
// its items kept) and the sieve, in this order: first prime, last prime,
// number of primes, number of gaps, then the gap table item by item in
// ascending gap order (only gaps that occur, each once); none when everything
// agrees.
std::optional<Difference> firstDifference(const ReportReading& reading, const RangePrimes& primes);

}  // namespace gapmerge
