#include "tools/make_slices_sieve.hpp"

#include <chrono>
#include <primesieve.hpp>

namespace make_slices {

namespace {

using Clock = std::chrono::steady_clock;

void addPrime(SliceSummary& slice, std::uint64_t prime) {
  if (slice.primeCount == 0) {
    slice.firstPrime = prime;
  } else {
    const std::uint64_t gap = prime - slice.lastPrime;
    if (gap >= slice.gapCounts.size()) {
      slice.gapCounts.resize(gap + 1);
    }
    ++slice.gapCounts[gap];
  }
  slice.lastPrime = prime;
  ++slice.primeCount;
}

// Walks the slices one after the other, timing each.
class SliceWalk {
 public:
  SliceWalk(const std::vector<SliceRange>& slices,
            const std::function<void(const SliceSummary&)>& done)
      : slices_(slices), done_(done) {
    start(0);
  }

  // Hands over every slice that ends below prime, then counts prime.
  void add(std::uint64_t prime) {
    while (prime > current_.range.high) {
      finish();
      start(next_);
    }
    addPrime(current_, prime);
  }

  // Hands over the current slice and every one after it.
  void finishAll() {
    finish();
    while (next_ < slices_.size()) {
      start(next_);
      finish();
    }
  }

 private:
  void start(std::size_t index) {
    current_ = SliceSummary();
    current_.range = slices_[index];
    next_ = index + 1;
    started_ = Clock::now();
  }

  void finish() {
    current_.seconds = std::chrono::duration<double>(Clock::now() - started_).count();
    done_(current_);
  }

  const std::vector<SliceRange>& slices_;
  const std::function<void(const SliceSummary&)>& done_;
  SliceSummary current_;
  std::size_t next_ = 0;
  Clock::time_point started_;
};

}  // namespace

void sieveSlices(const std::vector<SliceRange>& slices,
                 const std::function<void(const SliceSummary&)>& done) {
  if (slices.empty()) {
    return;
  }
  const std::uint64_t to = slices.back().high;
  SliceWalk walk(slices, done);
  primesieve::iterator primes(slices.front().low, to);
  for (std::uint64_t prime = primes.next_prime(); prime <= to; prime = primes.next_prime()) {
    walk.add(prime);
  }
  walk.finishAll();
}

}  // namespace make_slices
