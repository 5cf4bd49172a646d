#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "sieve/range_sieve.hpp"
#include "verify/report_comparison.hpp"

// Verifies reports against a fresh sieve of their ranges on worker threads
// while the run goes on: the run hands over what each chosen report says as
// soon as it was read, and collects the verdicts at the end.
namespace gapmerge {

enum class VerifyVerdict {
  matches,
  differs,
  notVerifiable,  // the bounds in the name are not a range the sieve can take
  tooWide,        // the range is wider than the limit
};

struct VerifyResult {
  std::size_t report = 0;  // the report's place in run order
  VerifyVerdict verdict = VerifyVerdict::matches;
  Difference difference;  // the first difference, when it differs
};

// How far the verification has come. The run and the sieving threads count
// here; a progress display reads a snapshot from any thread.
struct VerifyCounters {
  std::atomic<std::uint64_t> chosen{0};    // reports to verify
  std::atomic<std::uint64_t> verified{0};  // of them, compared or found not verifiable
  std::atomic<std::uint64_t> integersSieved{0};
};

struct VerifyProgress {
  std::uint64_t chosen = 0;
  std::uint64_t verified = 0;
  std::uint64_t integersSieved = 0;
};

inline VerifyProgress readProgress(const VerifyCounters& counters) {
  return {counters.chosen.load(std::memory_order_relaxed),
          counters.verified.load(std::memory_order_relaxed),
          counters.integersSieved.load(std::memory_order_relaxed)};
}

class Verifier {
 public:
  // Sieves on threads threads (at least 1); ranges of more than limit integers
  // are not sieved.
  Verifier(unsigned threads, std::uint64_t limit, VerifyCounters& counters);
  Verifier(const Verifier&) = delete;
  Verifier& operator=(const Verifier&) = delete;
  Verifier(Verifier&&) = delete;
  Verifier& operator=(Verifier&&) = delete;
  ~Verifier();

  // Queues the report for a sieve of range (the bounds in its name; none when
  // they are not a range). A range below 0, beyond the sieve or wider than the
  // limit is not verifiable. Waits while the queue is full, which bounds the
  // memory. Without any sieving thread the report is verified at once.
  void submit(std::size_t report, std::optional<BoundRange> range, ReportReading reading);

  // A chosen report that could not be read: it leaves the chosen ones.
  void drop();

  // Waits for every queued report; the verdicts in run order.
  std::vector<VerifyResult> finish();

 private:
  struct Job {
    std::size_t report = 0;
    SieveRange range;
    ReportReading reading;
  };

  void work();
  std::vector<Job> takeWalk();
  void verifyWalk(std::vector<Job>& jobs);
  void stop();

  std::uint64_t limit_;
  VerifyCounters& counters_;
  std::mutex mutex_;
  std::condition_variable workReady_;
  std::condition_variable spaceFree_;
  std::deque<Job> queue_;
  bool closing_ = false;
  std::vector<VerifyResult> results_;
  std::vector<std::thread> workers_;
};

}  // namespace gapmerge
