#include "app/prime_counter.hpp"

#include <pthread.h>

#include <exception>
#include <system_error>

#include "app/prime_count_cache.hpp"
#include "merge/coverage.hpp"
#include "text/resource_failure.hpp"

namespace gapmerge {

namespace {

// The count of the range when it is one to count, and what stands in its way
// when it is not.
PrimeCountCheck countRange(const BoundRange& range, std::uint64_t limit) {
  PrimeCountCheck check;
  check.range = range;
  check.limit = limit;
  if (range.from < 0 || range.from > range.to) {
    check.state = PrimeCountState::notARange;
  } else if (static_cast<std::uint64_t>(range.to) > limit) {
    check.state = PrimeCountState::aboveLimit;
  } else {
    try {
      PrimeCountCache cache(primeCountCachePath());
      check.primes = cache.primesUpTo(range.to) - cache.primesUpTo(range.from - 1);
      cache.save();
    } catch (const std::exception& error) {
      check.state = PrimeCountState::failed;
      check.failure = error.what();
    }
  }
  return check;
}

}  // namespace

PrimeCounter::PrimeCounter(const ReportList& reports, std::uint64_t limit)
    : reports_(reports), limit_(limit) {
  if (limit_ == 0 || reports_.empty()) {
    return;
  }
  try {
    thread_ = std::thread([this] {
      ::pthread_setname_np(::pthread_self(), "count primes");
      runOrEnd([this] { count(); });
    });
  } catch (const std::system_error&) {
    // No thread: check() counts on the run's thread.
  }
}

PrimeCounter::~PrimeCounter() {
  if (thread_.joinable()) {
    thread_.join();
  }
}

void PrimeCounter::count() {
  result_ = countRange(nameBounds(reports_), limit_);
}

std::optional<PrimeCountCheck> PrimeCounter::check(std::int64_t merged) {
  if (limit_ == 0 || reports_.empty()) {
    return std::nullopt;
  }
  if (thread_.joinable()) {
    thread_.join();
  } else {
    count();
  }
  result_->merged = merged;
  return result_;
}

}  // namespace gapmerge
