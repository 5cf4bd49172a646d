#include "app/run_verification.hpp"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "text/strings.hpp"
#include "verify/report_choice.hpp"

namespace gapmerge {

namespace {

std::string verdictText(const VerifyResult& result) {
  switch (result.verdict) {
    case VerifyVerdict::differs:
      return "Report does not match a fresh sieve of its range: " + result.difference;
    case VerifyVerdict::tooWide:
      return "Report is not verifiable: its range is wider than the limit of --verify-limit";
    case VerifyVerdict::notVerifiable:
    case VerifyVerdict::matches:
      break;
  }
  return "Report is not verifiable: the bounds in its name are not a range of integers from 0 up";
}

void count(VerificationTally& tally, VerifyVerdict verdict) {
  if (verdict == VerifyVerdict::matches || verdict == VerifyVerdict::differs) {
    ++tally.verified;
  } else {
    ++tally.notVerifiable;
  }
  if (verdict == VerifyVerdict::differs) {
    ++tally.mismatched;
  }
}

}  // namespace

void startVerification(RunVerification& verification, std::size_t reports,
                       const VerifyOptions& options) {
  verification.chosen =
      chooseReports(reports, options.choice.all ? reports : options.choice.count, options.seed);
  verification.counters.chosen = static_cast<std::uint64_t>(
      std::count(verification.chosen.begin(), verification.chosen.end(), true));
  verification.seed = options.seed;
  verification.verifier =
      std::make_unique<Verifier>(options.threads, options.limit, verification.counters);
}

bool verificationDone(const RunVerification& verification) {
  const VerifyProgress progress = readProgress(verification.counters);
  return progress.verified >= progress.chosen;
}

bool isChosen(const RunVerification& verification, std::size_t index) {
  return verification.verifier && verification.chosen[index];
}

void verifyLater(RunVerification& verification, std::size_t index, std::string_view reportName,
                 bool opened, std::size_t warningsSoFar, ReportStatement statement) {
  if (!opened) {
    verification.verifier->drop();
    return;
  }
  verification.places.push_back(warningsSoFar);
  verification.verifier->submit(index, readNameRange(reportName), std::move(statement));
}

VerificationTally addVerdicts(RunVerification& verification, const ReportList& reports,
                              std::vector<WarningEntry>& warnings) {
  const auto results = verification.verifier->finish();
  VerificationTally tally{.seed = verification.seed, .chosen = results.size()};
  std::vector<WarningEntry> merged;
  merged.reserve(warnings.size());
  std::size_t taken = 0;
  for (std::size_t k = 0; k < results.size(); ++k) {
    count(tally, results[k].verdict);
    if (results[k].verdict == VerifyVerdict::matches) {
      continue;
    }
    for (; taken < verification.places[k]; ++taken) {
      merged.push_back(std::move(warnings[taken]));
    }
    merged.push_back(
        {std::string(filePart(reports.pathView(results[k].report))), {verdictText(results[k])}});
  }
  for (; taken < warnings.size(); ++taken) {
    merged.push_back(std::move(warnings[taken]));
  }
  warnings = std::move(merged);
  return tally;
}

}  // namespace gapmerge
