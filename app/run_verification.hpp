#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/run.hpp"
#include "merge/report.hpp"
#include "merge/report_list.hpp"
#include "merge/run_outcome.hpp"
#include "verify/verifier.hpp"

// The verification side of a run: which reports are chosen, handing what
// each says to the sieving threads, and the warning entries of the verdicts.
namespace gapmerge {

struct RunVerification {
  std::vector<bool> chosen;  // by run position
  std::uint64_t seed = 0;
  VerifyCounters counters;
  std::unique_ptr<Verifier> verifier;
  // For each report handed over, in run order: the number of warning entries
  // up to and including its own.
  std::vector<std::size_t> places;
};

// Chooses among reports reports and starts the sieving threads.
void startVerification(RunVerification& verification, std::size_t reports,
                       const VerifyOptions& options);

bool isChosen(const RunVerification& verification, std::size_t index);

// True once every chosen report that was handed over has its verdict.
bool verificationDone(const RunVerification& verification);

// Hands over what the chosen report at index says, once its own warning
// entries (warningsSoFar of all) are in place; a report that could not be
// opened leaves the chosen ones.
void verifyLater(RunVerification& verification, std::size_t index, std::string_view reportName,
                 bool opened, std::size_t warningsSoFar, ReportStatement statement);

// Waits for the sieving threads and puts an entry for every report that does
// not match (or cannot be verified) right after that report's other entries.
// reports is the report list the indexes refer to.
VerificationTally addVerdicts(RunVerification& verification, const ReportList& reports,
                              std::vector<WarningEntry>& warnings);

}  // namespace gapmerge
