#include "outcome/run_outcome.hpp"

namespace gapmerge {

bool isIncomplete(const RunOutcome& outcome) {
  const Shortfall& lack = outcome.shortfall;
  return outcome.reports == 0 || lack.reportsUnread > 0 || lack.joinsBroken > 0 ||
         lack.reportsNotAddingUp > 0 || lack.repeatsDiffering > 0 ||
         !outcome.unlistedFolders.empty();
}

bool primeCountDiffers(const RunOutcome& outcome) {
  const auto& count = outcome.primeCount;
  return count && count->state == PrimeCountState::counted && count->primes != count->merged;
}

int exitStatusOf(const RunOutcome& outcome) {
  if (!outcome.mergedFile.complete || !outcome.exportsWritten) {
    return exitFailed;
  }
  const bool mismatch = (outcome.verification && outcome.verification->mismatched > 0) ||
                        (outcome.published && !outcome.published->agrees) ||
                        primeCountDiffers(outcome);
  return mismatch || isIncomplete(outcome) ? exitIncomplete : exitDone;
}

}  // namespace gapmerge
