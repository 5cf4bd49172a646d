#pragma once

#include <cstdint>
#include <optional>
#include <thread>

#include "merge/discovery.hpp"
#include "outcome/run_outcome.hpp"

// The check that the merged gaps count the primes of their range: the primes
// from the lowest to the highest bound in the report names (the range line of
// fileout.txt), pi(high) - pi(low - 1), counted apart on a thread of its own
// from the moment the names are known, so that it costs a large run no time.
// Counts of earlier runs come from the cache (app/prime_count_cache.hpp).
namespace gapmerge {

class PrimeCounter {
 public:
  // Starts counting for the names of reports, which must stay as they are
  // until check(); nothing is counted without a report, with limit 0 or when
  // the range reaches above limit.
  PrimeCounter(const ReportList& reports, std::uint64_t limit);
  PrimeCounter(const PrimeCounter&) = delete;
  PrimeCounter& operator=(const PrimeCounter&) = delete;
  PrimeCounter(PrimeCounter&&) = delete;
  PrimeCounter& operator=(PrimeCounter&&) = delete;
  ~PrimeCounter();

  // The count held against the primes that the merged gaps join, once it is
  // done; none without a report or with limit 0.
  std::optional<PrimeCountCheck> check(std::int64_t merged);

 private:
  void count();

  const ReportList& reports_;
  std::uint64_t limit_;
  std::optional<PrimeCountCheck> result_;
  std::thread thread_;
};

}  // namespace gapmerge
