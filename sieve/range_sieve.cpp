#include "sieve/range_sieve.hpp"

#include <algorithm>
#include <primesieve.hpp>

namespace gapmerge {

namespace {

// The state of one walk: the range being filled and the ones still to come.
class RangeWalk {
 public:
  RangeWalk(std::span<const SieveRange> ranges,
            const std::function<void(std::size_t, const RangePrimes&)>& done)
      : ranges_(ranges), done_(done) {}

  [[nodiscard]] bool finished() const { return index_ == ranges_.size(); }

  // Takes a buffer of consecutive primes, in ascending order.
  void take(const std::uint64_t* primes, std::size_t size) {
    std::size_t i = 0;
    while (i < size && !finished()) {
      const SieveRange& range = ranges_[index_];
      if (primes[i] > range.high) {
        finishRange();
      } else if (primes[i] < range.low) {
        ++i;
      } else if (current_.count == 0) {
        current_.first = primes[i];
        current_.last = primes[i];
        current_.count = 1;
        ++i;
      } else {
        i = countGaps(primes, i, size, range.high);
      }
    }
  }

 private:
  // The hot loop: the gaps of the primes from i on up to high.
  std::size_t countGaps(const std::uint64_t* primes, std::size_t i, std::size_t size,
                        std::uint64_t high) {
    std::uint64_t* counts = current_.gapCounts.data();
    std::uint64_t previous = current_.last;
    const std::size_t start = i;
    for (; i < size && primes[i] <= high; ++i) {
      ++counts[primes[i] - previous];
      previous = primes[i];
    }
    current_.count += i - start;
    current_.last = previous;
    return i;
  }

  void finishRange() {
    done_(index_, current_);
    current_.count = 0;
    current_.first = 0;
    current_.last = 0;
    current_.gapCounts.fill(0);
    ++index_;
  }

  std::span<const SieveRange> ranges_;
  const std::function<void(std::size_t, const RangePrimes&)>& done_;
  std::size_t index_ = 0;
  RangePrimes current_;
};

}  // namespace

bool extendsWalk(std::uint64_t walkLow, std::size_t walkSize, const SieveRange& previous,
                 const SieveRange& next) {
  return walkSize < walkRanges && next.low > previous.high && next.high - walkLow < walkSpan;
}

void sieveRanges(std::span<const SieveRange> ranges,
                 const std::function<void(std::size_t, const RangePrimes&)>& done,
                 std::atomic<std::uint64_t>& sieved) {
  if (ranges.empty()) {
    return;
  }
  const std::uint64_t low = ranges.front().low;
  const std::uint64_t high = ranges.back().high;
  RangeWalk walk(ranges, done);
  primesieve::iterator primes(low, high);
  // The integers walked so far end at reached; low - 1 wraps around for low
  // 0, and so does the difference, which makes it exact.
  std::uint64_t reached = low - 1;
  while (!walk.finished()) {
    primes.generate_next_primes();
    walk.take(primes.primes_, primes.size_);
    const std::uint64_t now = std::min(primes.primes_[primes.size_ - 1], high);
    sieved.fetch_add(now - reached, std::memory_order_relaxed);
    reached = now;
  }
}

}  // namespace gapmerge
