#include "verify/verification.hpp"

#include <algorithm>
#include <utility>

namespace gapmerge {

std::uint64_t nextRandom(SplitMix64& generator) {
  generator.state += 0x9E37'79B9'7F4A'7C15U;
  std::uint64_t z = generator.state;
  z = (z ^ (z >> 30U)) * 0xBF58'476D'1CE4'E5B9U;
  z = (z ^ (z >> 27U)) * 0x94D0'49BB'1331'11EBU;
  return z ^ (z >> 31U);
}

std::uint64_t randomBelow(SplitMix64& generator, std::uint64_t bound) {
  const std::uint64_t rejected = (0 - bound) % bound;  // 2^64 mod bound
  std::uint64_t value = nextRandom(generator);
  while (value < rejected) {
    value = nextRandom(generator);
  }
  return value % bound;
}

std::vector<bool> chooseReports(std::size_t total, std::uint64_t count, std::uint64_t seed) {
  std::vector<bool> chosen(total, false);
  SplitMix64 generator{seed};
  std::uint64_t left = count;
  for (std::size_t k = 0; k < total && left > 0; ++k) {
    if (left >= total - k || randomBelow(generator, total - k) < left) {
      chosen[k] = true;
      --left;
    }
  }
  return chosen;
}

Verification::Verification(std::size_t reports, const VerifyOptions& options)
    : chosen_(chooseReports(reports, options.choice.all ? reports : options.choice.count,
                            options.seed)),
      seed_(options.seed) {
  counters_.chosen = static_cast<std::uint64_t>(std::count(chosen_.begin(), chosen_.end(), true));
  verifier_ = std::make_unique<Verifier>(options.threads, options.limit, counters_);
}

void Verification::submit(std::size_t report, std::optional<BoundRange> range, bool opened,
                          ReportReading reading) {
  if (!opened) {
    verifier_->drop();
    return;
  }
  verifier_->submit(report, range, std::move(reading));
}

bool Verification::done() const {
  const VerifyProgress now = progress();
  return now.verified >= now.chosen;
}

std::vector<VerifyResult> Verification::finish(VerificationTally& tally) {
  auto results = verifier_->finish();
  tally = {.seed = seed_, .chosen = results.size()};
  for (const auto& result : results) {
    const bool sieved =
        result.verdict == VerifyVerdict::matches || result.verdict == VerifyVerdict::differs;
    ++(sieved ? tally.verified : tally.notVerifiable);
    if (result.verdict == VerifyVerdict::differs) {
      ++tally.mismatched;
    }
  }
  return results;
}

}  // namespace gapmerge
