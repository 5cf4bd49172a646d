#pragma once

#include <atomic>
#include <cstdint>

// How far the verification of reports has come. The run and the sieving
// threads count here; a progress display reads a snapshot from any thread.
namespace gapmerge {

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

}  // namespace gapmerge
