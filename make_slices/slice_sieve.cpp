#include "make_slices/slice_sieve.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <span>
#include <system_error>
#include <thread>

#include "text/resource_failure.hpp"

namespace make_slices {

namespace {

using Clock = std::chrono::steady_clock;

// The slices begin to end - 1, sieved in one walk.
struct Walk {
  std::size_t begin = 0;
  std::size_t end = 0;
};

std::vector<Walk> planWalks(const std::vector<SliceRange>& slices) {
  std::vector<Walk> walks;
  for (std::size_t k = 0; k < slices.size(); ++k) {
    if (!walks.empty() && gapmerge::extendsWalk(slices[walks.back().begin].low,
                                                k - walks.back().begin, slices[k - 1], slices[k])) {
      walks.back().end = k + 1;
    } else {
      walks.push_back({k, k + 1});
    }
  }
  return walks;
}

SliceSummary summaryOf(const SliceRange& range, const gapmerge::RangePrimes& primes) {
  SliceSummary summary{range, primes.count, primes.first, primes.last, {}, 0.0};
  const auto* counts = primes.gapCounts.data();
  const auto* end = counts + primes.gapCounts.size();
  while (end != counts && end[-1] == 0) {
    --end;
  }
  summary.gapCounts.assign(counts, end);
  return summary;
}

// Each summary's time runs from the end of the slice before it in the walk.
std::vector<SliceSummary> sieveWalk(std::span<const SliceRange> slices) {
  std::vector<SliceSummary> summaries;
  summaries.reserve(slices.size());
  std::atomic<std::uint64_t> sieved{0};
  auto mark = Clock::now();
  gapmerge::sieveRanges(
      slices,
      [&](std::size_t k, const gapmerge::RangePrimes& primes) {
        summaries.push_back(summaryOf(slices[k], primes));
        const auto now = Clock::now();
        summaries.back().seconds = std::chrono::duration<double>(now - mark).count();
        mark = now;
      },
      sieved);
  return summaries;
}

// Walks sieved on worker threads and handed over in order. A worker starts a
// walk only while fewer than window walks wait to be handed over, which
// bounds the memory however many slices there are.
class OrderedWalks {
 public:
  OrderedWalks(const std::vector<SliceRange>& slices, unsigned threads)
      : slices_(slices),
        walks_(planWalks(slices)),
        done_(walks_.size()),
        ready_(walks_.size(), false),
        window_(2 * std::size_t{threads}) {}

  // Sieves walks until every walk is taken or handing over stopped.
  void work() {
    std::unique_lock lock(mutex_);
    while (true) {
      changed_.wait(
          lock, [this] { return stopped_ || next_ < taken_ + window_ || next_ == walks_.size(); });
      if (stopped_ || next_ == walks_.size()) {
        return;
      }
      const Walk walk = walks_[next_++];
      const std::size_t index = next_ - 1;
      lock.unlock();
      auto summaries = sieveWalk(std::span(slices_).subspan(walk.begin, walk.end - walk.begin));
      lock.lock();
      done_[index] = std::move(summaries);
      ready_[index] = true;
      changed_.notify_all();
    }
  }

  // Hands the summaries over in slice order; false when done refused one.
  // Without workers, the caller sieves each walk as its turn comes.
  bool handOver(const std::function<bool(const SliceSummary&)>& done, bool withWorkers) {
    for (std::size_t index = 0; index < walks_.size(); ++index) {
      std::vector<SliceSummary> summaries;
      if (!withWorkers) {
        const Walk& walk = walks_[index];
        summaries = sieveWalk(std::span(slices_).subspan(walk.begin, walk.end - walk.begin));
      } else {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return ready_[index]; });
        summaries = std::move(done_[index]);
        taken_ = index + 1;
      }
      changed_.notify_all();
      if (!std::all_of(summaries.begin(), summaries.end(), done)) {
        stop();
        return false;
      }
    }
    return true;
  }

 private:
  void stop() {
    {
      const std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    changed_.notify_all();
  }

  const std::vector<SliceRange>& slices_;
  std::vector<Walk> walks_;
  std::vector<std::vector<SliceSummary>> done_;
  std::vector<bool> ready_;
  std::size_t window_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t next_ = 0;   // the next walk to sieve
  std::size_t taken_ = 0;  // walks handed over
  bool stopped_ = false;
};

}  // namespace

bool sieveSlices(const std::vector<SliceRange>& slices, unsigned threads,
                 const std::function<bool(const SliceSummary&)>& done) {
  OrderedWalks walks(slices, threads);
  std::vector<std::jthread> workers;
  try {
    for (unsigned k = 0; k < threads; ++k) {
      workers.emplace_back([&walks] { gapmerge::runOrEnd([&walks] { walks.work(); }); });
    }
  } catch (const std::system_error&) {
    // The slices are sieved on the threads that did start, or by the caller.
  }
  return walks.handOver(done, !workers.empty());
}

}  // namespace make_slices
