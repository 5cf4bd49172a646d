#include "app/run.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/coverage_listing.hpp"
#include "merge/checks.hpp"
#include "merge/discovery.hpp"
#include "merge/gap_stats.hpp"
#include "merge/merged_file.hpp"
#include "merge/range_order.hpp"
#include "merge/report.hpp"
#include "text/number_format.hpp"
#include "text/strings.hpp"
#include "text/text_file.hpp"
#include "verify/report_choice.hpp"
#include "verify/verifier.hpp"

namespace gapmerge {

namespace {

// Everything one run holds from start to exit.
struct RunState {
  std::string workingDirectory;
  std::vector<std::string> reports;
  std::string reportName;
  std::int64_t lowestNmin = std::numeric_limits<std::int64_t>::max();
  std::int64_t highestNmax = 0;
  ReportRecord record;
  GapStats stats;
  StatsBlock block;
  MergedFile merged;
  std::vector<WarningEntry> warnings;
  std::optional<Coverage> coverage;
  // Verification: the chosen reports by run position, the sieving threads,
  // and for each report handed to them, in run order, the number of warning
  // entries up to and including its own.
  std::vector<bool> chosen;
  VerifyCounters ownCounters;
  std::unique_ptr<Verifier> verifier;
  std::vector<std::size_t> verifyPlaces;
  std::optional<VerificationTally> tally;
};

void widenRange(RunState& run) {
  if (run.record.fileNmax > run.highestNmax) {
    run.highestNmax = run.record.fileNmax;
  }
  if (run.record.fileNmin < run.lowestNmin) {
    run.lowestNmin = run.record.fileNmin;
  }
}

void warn(RunState& run, std::string_view subject, std::string message) {
  run.warnings.push_back({std::string(subject), {std::move(message)}});
}

// No gap between consecutive primes below 2^64 comes near the histogram's
// limit, so a mid gap below 1 or above it means a hole, an overlap or slices
// out of order: the histogram lost the true joining gap.
void warnIfSlicesDoNotJoin(RunState& run, std::int64_t midGap) {
  if (midGap >= 1 && midGap <= maxHistogramGap) {
    return;
  }
  warn(run, run.reportName,
       "Slices do not join: mid gap " + formatInteger(midGap) + " to the previous report in " +
           run.reportName);
}

// Reads and checks one report that could be opened, then counts its mid gap.
void mergeReport(RunState& run, TextFile& file, ReportStatement* statement) {
  parseReport(file, run.record, run.stats, statement);
  checkReport(run.record, run.reportName, run.warnings);
  closeTextFile(file);
  if (const auto midGap = addMidGap(run.stats, run.record.firstPrime)) {
    warnIfSlicesDoNotJoin(run, *midGap);
  }
}

// A report that cannot be opened contributes nothing and cuts the chain of
// mid gaps: the next report forms no gap across the hole.
void skipReport(RunState& run) {
  warn(run, run.reportName, "Report could not be opened, nothing merged from " + run.reportName);
}

void startVerification(RunState& run, const VerifyOptions& options) {
  const std::size_t total = run.reports.size();
  run.chosen =
      chooseReports(total, options.choice.all ? total : options.choice.count, options.seed);
  VerifyCounters& counters = options.counters != nullptr ? *options.counters : run.ownCounters;
  counters.chosen =
      static_cast<std::uint64_t>(std::count(run.chosen.begin(), run.chosen.end(), true));
  run.verifier = std::make_unique<Verifier>(options.threads, counters);
}

bool isChosen(const RunState& run, std::size_t index) {
  return run.verifier && run.chosen[index];
}

// Hands what a chosen report says to the sieving threads, once its own
// warning entries are in place.
void verifyLater(RunState& run, std::size_t index, bool opened, ReportStatement statement) {
  if (!opened) {
    run.verifier->drop();
    return;
  }
  run.verifyPlaces.push_back(run.warnings.size());
  run.verifier->submit(index, readNameRange(run.reportName), std::move(statement));
}

void processReport(RunState& run, std::size_t index) {
  const std::string& path = run.reports[index];
  run.reportName = filePart(path);
  parseReportName(run.reportName, run.record);
  widenRange(run);
  std::optional<ReportStatement> statement;
  if (isChosen(run, index)) {
    statement.emplace();
  }
  TextFile file = openTextFile(path);
  const bool opened = file.isOpen();
  if (opened) {
    mergeReport(run, file, statement ? &*statement : nullptr);
  } else {
    skipReport(run);
  }
  reportSeries(run.stats, run.block);
  writeReportSections(run.merged, run.record.fileNmax, run.block);
  closeReport(run.stats, opened ? run.record.lastPrime : 0);
  if (statement) {
    verifyLater(run, index, opened, std::move(*statement));
  }
}

std::string verdictText(const VerifyResult& result) {
  if (result.verdict == VerifyVerdict::differs) {
    return "Report does not match a fresh sieve of its range: " + result.difference;
  }
  return "Report is not verifiable: the bounds in its name are not a range of integers from 0 up";
}

// Waits for the sieving threads and puts an entry for every report that does
// not match (or cannot be verified) right after that report's other entries.
void finishVerification(RunState& run) {
  const auto results = run.verifier->finish();
  run.tally = VerificationTally{.chosen = results.size()};
  std::vector<WarningEntry> warnings;
  warnings.reserve(run.warnings.size());
  std::size_t taken = 0;
  for (std::size_t k = 0; k < results.size(); ++k) {
    if (results[k].verdict == VerifyVerdict::matches) {
      continue;
    }
    ++(results[k].verdict == VerifyVerdict::differs ? run.tally->mismatched
                                                    : run.tally->notVerifiable);
    for (; taken < run.verifyPlaces[k]; ++taken) {
      warnings.push_back(std::move(run.warnings[taken]));
    }
    warnings.push_back(
        {std::string(filePart(run.reports[results[k].report])), {verdictText(results[k])}});
  }
  for (; taken < run.warnings.size(); ++taken) {
    warnings.push_back(std::move(run.warnings[taken]));
  }
  run.warnings = std::move(warnings);
}

void warnAboutMergedFile(RunState& run, std::string_view problem) {
  warn(run, mergedFileName, std::string(problem) + run.workingDirectory);
}

// Writes the closing sections.
void closeRun(RunState& run) {
  finalSeries(run.stats.histogram, run.block);
  writeClosingSections(run.merged, run.lowestNmin, run.highestNmax, runningTotal(run.stats),
                       run.block);
  if (run.merged.output && !run.merged.complete) {
    warnAboutMergedFile(run, "Merged results file is incomplete, writing failed in ");
  }
}

RunOutcome outcomeOf(RunState& run, const RunOptions& options) {
  RunOutcome outcome;
  outcome.directory = run.workingDirectory;
  if (!run.reports.empty()) {
    outcome.range = BoundRange{run.lowestNmin, run.highestNmax};
  }
  outcome.reports = run.reports.size();
  outcome.order = options.rangeOrder ? ReportOrder::range : ReportOrder::path;
  outcome.lastReportName = run.reportName;
  outcome.histogram = run.stats.histogram;
  outcome.gapTotal = run.block.divisor;
  outcome.residueTotals = run.block.classTotals;
  outcome.warnings = std::move(run.warnings);
  outcome.mergedFile = {run.merged.path, run.merged.output != nullptr, run.merged.complete};
  outcome.coverage = std::move(run.coverage);
  outcome.verification = run.tally;
  return outcome;
}

}  // namespace

RunOutcome mergeReports(const RunOptions& options) {
  RunState run;
  run.workingDirectory = options.directory;
  run.reports = findReports(run.workingDirectory);
  if (options.rangeOrder) {
    orderReportsByRange(run.reports);
  }
  if (options.withCoverage) {
    run.coverage = coverageOfReports(run.reports);
  }
  if (options.verify) {
    startVerification(run, *options.verify);
  }
  run.merged = openMergedFile(run.workingDirectory);
  if (!run.merged.output) {
    warnAboutMergedFile(run, "Merged results file could not be created in ");
  }
  for (std::size_t index = 0; index < run.reports.size(); ++index) {
    processReport(run, index);
  }
  closeRun(run);
  if (run.verifier) {
    finishVerification(run);
  }
  return outcomeOf(run, options);
}

RunStatus runMerge(ResultView& view, const RunOptions& options, const Publish& publish) {
  if (!view.open()) {
    return RunStatus::viewUnavailable;
  }
  const RunOutcome outcome = mergeReports(options);
  const bool published = !publish || publish(outcome);
  if (outcome.mergedFile.created) {
    view.askOpen(outcome.mergedFile.path, outcome.directory);
  }
  view.fill(outcome);
  view.wait();
  if (!outcome.mergedFile.complete) {
    return RunStatus::mergedFileFailed;
  }
  if (!published) {
    return RunStatus::publishFailed;
  }
  if (outcome.verification && outcome.verification->mismatched > 0) {
    return RunStatus::reportMismatch;
  }
  return RunStatus::merged;
}

}  // namespace gapmerge
