#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "merge/report.hpp"
#include "verify/verifier.hpp"

// The verification side of a run: which reports are chosen, at random the
// same way on every machine; handing what each says to the sieving threads;
// and what they found.
namespace gapmerge {

// --verify N or --verify all.
struct VerifyChoice {
  bool all = false;
  std::uint64_t count = 0;  // reports chosen at random when not all
};

constexpr std::uint64_t defaultVerifySeed = 20261206;
// The widest range sieved again: 10^12 integers take minutes.
constexpr std::uint64_t defaultVerifyLimit = 1'000'000'000'000;

struct VerifyOptions {
  VerifyChoice choice;
  std::uint64_t seed = defaultVerifySeed;
  unsigned threads = 1;                      // sieving threads
  std::uint64_t limit = defaultVerifyLimit;  // the widest range sieved
};

// What the verification found, for the outcome of the run.
struct VerificationTally {
  std::uint64_t seed = 0;
  std::size_t chosen = 0;    // reports chosen and read: verified + notVerifiable
  std::size_t verified = 0;  // compared with a fresh sieve, matching or not
  std::size_t mismatched = 0;
  std::size_t notVerifiable = 0;
};

// splitmix64 (Steele, Lea and Flood, 2014): a 64-bit state advanced by
// 0x9E3779B97F4A7C15 and mixed into each output.
struct SplitMix64 {
  std::uint64_t state = 0;
};

std::uint64_t nextRandom(SplitMix64& generator);

// A number from 0 to bound - 1 (bound above 0), each equally likely: outputs
// below 2^64 mod bound are drawn again, the rest taken modulo bound.
std::uint64_t randomBelow(SplitMix64& generator, std::uint64_t bound);

// Which of total reports (in run order) to verify: count of them (all when
// count is total or more), chosen by selection sampling from a generator
// seeded with seed. Report k is taken with probability (still to choose) /
// (total - k), so every set of count reports is equally likely.
std::vector<bool> chooseReports(std::size_t total, std::uint64_t count, std::uint64_t seed);

// The verification of one run: the reports are chosen when it starts, each
// chosen report is handed over once it was read, and the verdicts are
// collected at the end.
class Verification {
 public:
  Verification(std::size_t reports, const VerifyOptions& options);

  [[nodiscard]] bool isChosen(std::size_t report) const { return chosen_[report]; }

  // Hands over what the chosen report at run position `report` says; a
  // report that could not be opened leaves the chosen ones.
  void submit(std::size_t report, std::optional<BoundRange> range, bool opened,
              ReportReading reading);

  [[nodiscard]] VerifyProgress progress() const { return readProgress(counters_); }
  // True once every chosen report that was handed over has its verdict.
  [[nodiscard]] bool done() const;

  // Waits for the sieving threads; every verdict in run order, and the tally.
  std::vector<VerifyResult> finish(VerificationTally& tally);

 private:
  std::vector<bool> chosen_;  // by run position
  std::uint64_t seed_;
  VerifyCounters counters_;
  std::unique_ptr<Verifier> verifier_;
};

}  // namespace gapmerge
