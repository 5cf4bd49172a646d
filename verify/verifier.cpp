#include "verify/verifier.hpp"

#include <pthread.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <system_error>
#include <utility>

#include "text/resource_failure.hpp"

namespace gapmerge {

namespace {

// Enough queued reports for several walks of small ranges.
constexpr std::size_t mostQueued = 4 * walkRanges;

std::optional<SieveRange> sievable(const std::optional<BoundRange>& range) {
  if (!range || range->from < 0 || static_cast<std::uint64_t>(range->to) > largestSievable) {
    return std::nullopt;
  }
  return SieveRange{static_cast<std::uint64_t>(range->from), static_cast<std::uint64_t>(range->to)};
}

}  // namespace

Verifier::Verifier(unsigned threads, std::uint64_t limit, VerifyCounters& counters)
    : limit_(limit), counters_(counters) {
  try {
    for (unsigned k = 0; k < threads; ++k) {
      workers_.emplace_back([this] { runOrEnd([this] { work(); }); });
    }
  } catch (const std::system_error&) {
    // The run goes on with the threads that did start, or with none.
  }
}

Verifier::~Verifier() {
  stop();
}

void Verifier::submit(std::size_t report, std::optional<BoundRange> range, ReportReading reading) {
  const auto sieveRange = sievable(range);
  const bool tooWide = sieveRange && sieveRange->high - sieveRange->low >= limit_;
  std::unique_lock lock(mutex_);
  if (!sieveRange || tooWide) {
    results_.push_back(
        {report, tooWide ? VerifyVerdict::tooWide : VerifyVerdict::notVerifiable, {}});
    counters_.verified.fetch_add(1, std::memory_order_relaxed);
    return;
  }
  if (workers_.empty()) {
    lock.unlock();
    std::vector<Job> jobs{{report, *sieveRange, std::move(reading)}};
    verifyWalk(jobs);
    return;
  }
  spaceFree_.wait(lock, [this] { return queue_.size() < mostQueued; });
  queue_.push_back({report, *sieveRange, std::move(reading)});
  workReady_.notify_one();
}

void Verifier::drop() {
  counters_.chosen.fetch_sub(1, std::memory_order_relaxed);
}

std::vector<VerifyResult> Verifier::finish() {
  stop();
  std::sort(results_.begin(), results_.end(),
            [](const VerifyResult& a, const VerifyResult& b) { return a.report < b.report; });
  return std::move(results_);
}

void Verifier::stop() {
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
  }
  workReady_.notify_all();
  for (auto& worker : workers_) {
    if (worker.joinable()) {
      worker.join();
    }
  }
}

void Verifier::work() {
  ::pthread_setname_np(::pthread_self(), "sieve ranges");
  std::unique_lock lock(mutex_);
  while (true) {
    workReady_.wait(lock, [this] { return closing_ || !queue_.empty(); });
    if (queue_.empty()) {
      return;
    }
    auto jobs = takeWalk();
    lock.unlock();
    spaceFree_.notify_all();
    verifyWalk(jobs);
    lock.lock();
  }
}

// The front of the queue, and the reports after it that the same walk of the
// sieve can serve; called with the lock held.
std::vector<Verifier::Job> Verifier::takeWalk() {
  std::vector<Job> jobs;
  jobs.push_back(std::move(queue_.front()));
  queue_.pop_front();
  while (!queue_.empty() && extendsWalk(jobs.front().range.low, jobs.size(), jobs.back().range,
                                        queue_.front().range)) {
    jobs.push_back(std::move(queue_.front()));
    queue_.pop_front();
  }
  return jobs;
}

void Verifier::verifyWalk(std::vector<Job>& jobs) {
  std::vector<SieveRange> ranges;
  ranges.reserve(jobs.size());
  for (const auto& job : jobs) {
    ranges.push_back(job.range);
  }
  std::vector<VerifyResult> verdicts;
  verdicts.reserve(jobs.size());
  sieveRanges(
      ranges,
      [&](std::size_t k, const RangePrimes& primes) {
        auto difference = firstDifference(jobs[k].reading, primes);
        jobs[k].reading = {};
        verdicts.push_back({jobs[k].report,
                            difference ? VerifyVerdict::differs : VerifyVerdict::matches,
                            difference.value_or(Difference{})});
        counters_.verified.fetch_add(1, std::memory_order_relaxed);
      },
      counters_.integersSieved);
  const std::lock_guard lock(mutex_);
  std::move(verdicts.begin(), verdicts.end(), std::back_inserter(results_));
}

}  // namespace gapmerge
