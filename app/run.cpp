#include "app/run.hpp"

#include <chrono>
#include <cstdint>
#include <limits>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/coverage_listing.hpp"
#include "app/run_verification.hpp"
#include "merge/checks.hpp"
#include "merge/discovery.hpp"
#include "merge/gap_stats.hpp"
#include "merge/merged_file.hpp"
#include "merge/range_order.hpp"
#include "merge/report.hpp"
#include "merge/report_list.hpp"
#include "text/number_format.hpp"
#include "text/strings.hpp"
#include "text/text_file.hpp"

namespace gapmerge {

namespace {

// Everything one run holds from start to exit.
struct RunState {
  std::string workingDirectory;
  ReportList reports;
  std::string reportName;
  std::int64_t lowestNmin = std::numeric_limits<std::int64_t>::max();
  std::int64_t highestNmax = 0;
  ReportRecord record;
  GapStats stats;
  StatsBlock finalBlock;
  MergedFile merged;
  std::vector<UnlistedFolder> unlisted;
  std::size_t linksNotFollowed = 0;
  Shortfall shortfall;
  std::vector<WarningEntry> warnings;
  std::optional<Coverage> coverage;
  RunVerification verification;
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

// One entry for each folder that could not be listed, in the order met.
void warnAboutUnlistedFolders(RunState& run) {
  for (const auto& [path, reason] : run.unlisted) {
    warn(run, path, "Folder could not be listed (" + reason + "), nothing merged from it");
  }
}

// No gap between consecutive primes below 2^64 comes near the histogram's
// limit, so a mid gap below 1 or above it means a hole, an overlap or slices
// out of order: the histogram lost the true joining gap.
void warnIfSlicesDoNotJoin(RunState& run, std::int64_t midGap) {
  if (midGap >= 1 && midGap <= maxHistogramGap) {
    return;
  }
  ++run.shortfall.joinsBroken;
  warn(run, run.reportName,
       "Slices do not join: mid gap " + formatInteger(midGap) + " to the previous report in " +
           run.reportName);
}

// Reads and checks one report that could be opened, then counts its mid gap.
void mergeReport(RunState& run, TextFile& file, ReportStatement* statement) {
  parseReport(file, run.record, run.stats, statement);
  checkReport(run.record, run.reportName, run.warnings);
  if (!gapTableAddsUp(run.record)) {
    ++run.shortfall.reportsNotAddingUp;
  }
  closeTextFile(file);
  if (const auto midGap = addMidGap(run.stats, run.record.firstPrime)) {
    warnIfSlicesDoNotJoin(run, *midGap);
  }
}

// A report that cannot be opened contributes nothing and cuts the chain of
// mid gaps: the next report forms no gap across the hole.
void skipReport(RunState& run) {
  ++run.shortfall.reportsUnread;
  warn(run, run.reportName, "Report could not be opened, nothing merged from " + run.reportName);
}

void processReport(RunState& run, std::size_t index) {
  const char* path = run.reports.path(index);
  run.reportName = filePart(path);
  parseReportName(run.reportName, run.record);
  widenRange(run);
  std::optional<ReportStatement> statement;
  if (isChosen(run.verification, index)) {
    statement.emplace();
  }
  TextFile file = openTextFile(path);
  const bool opened = file.isOpen();
  if (opened) {
    mergeReport(run, file, statement ? &*statement : nullptr);
  } else {
    skipReport(run);
  }
  writeReportSections(run.merged, run.record.fileNmax, run.stats);
  closeReport(run.stats, opened ? run.record.lastPrime : 0);
  if (statement) {
    verifyLater(run.verification, index, run.reportName, opened, run.warnings.size(),
                std::move(*statement));
  }
}

void warnAboutMergedFile(RunState& run, std::string_view problem) {
  warn(run, mergedFileName, std::string(problem) + run.workingDirectory);
}

// Writes the closing sections.
void closeRun(RunState& run) {
  finalSeries(run.stats.histogram, run.finalBlock);
  writeClosingSections(run.merged, run.lowestNmin, run.highestNmax, runningTotal(run.stats),
                       run.finalBlock);
  if (run.merged.output && !run.merged.complete) {
    warnAboutMergedFile(run, "Merged results file is incomplete, writing failed in ");
  }
}

void report(const RunState& run, const RunOptions& options, std::size_t merged, bool done) {
  if (options.progress) {
    options.progress({.reportsMerged = merged,
                      .reportsTotal = run.reports.size(),
                      .bytesWritten = mergedBytesWritten(run.merged),
                      .verify = readProgress(run.verification.counters),
                      .done = done});
  }
}

// The sieving threads may still be busy once every report is merged; the
// progress goes on showing them.
void awaitVerification(const RunState& run, const RunOptions& options) {
  constexpr std::chrono::milliseconds interval{100};
  while (options.progress && !verificationDone(run.verification)) {
    report(run, options, run.reports.size(), false);
    std::this_thread::sleep_for(interval);
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
  outcome.gapTotal = run.finalBlock.divisor;
  outcome.residueTotals = run.finalBlock.classTotals;
  outcome.warnings = std::move(run.warnings);
  outcome.mergedFile = {.path = run.merged.path,
                        .created = run.merged.output != nullptr,
                        .complete = run.merged.complete,
                        .previousExists = run.merged.previousExists,
                        .problem = run.merged.problem};
  outcome.coverage = std::move(run.coverage);
  outcome.verification = run.tally;
  outcome.unlistedFolders = std::move(run.unlisted);
  outcome.linksNotFollowed = run.linksNotFollowed;
  outcome.shortfall = run.shortfall;
  if (run.shortfall.joinsBroken > 0 && !options.rangeOrder) {
    outcome.shortfall.joinInRangeOrder = joinsInRangeOrder(run.reports);
  }
  return outcome;
}

}  // namespace

RunOutcome mergeReports(const RunOptions& options, Discovery found) {
  RunState run;
  run.workingDirectory = options.directory;
  run.reports = std::move(found.reports);
  run.unlisted = std::move(found.unlisted);
  run.linksNotFollowed = found.linksNotFollowed;
  if (options.rangeOrder) {
    orderReportsByRange(run.reports);
  }
  if (options.withCoverage) {
    run.coverage = coverageOfReports(run.reports, run.workingDirectory);
  }
  if (options.verify) {
    startVerification(run.verification, run.reports.size(), *options.verify);
  }
  run.merged = openMergedFile(run.workingDirectory, options.threads);
  if (!run.merged.output) {
    warnAboutMergedFile(run, "Merged results file could not be created in ");
  }
  warnAboutUnlistedFolders(run);
  for (std::size_t index = 0; index < run.reports.size(); ++index) {
    processReport(run, index);
    report(run, options, index + 1, false);
  }
  closeRun(run);
  if (run.verification.verifier) {
    awaitVerification(run, options);
    run.tally = addVerdicts(run.verification, run.reports, run.warnings);
  }
  report(run, options, run.reports.size(), true);
  return outcomeOf(run, options);
}

std::optional<RunOutcome> runMerge(ResultView& view, const RunOptions& options, Discovery found,
                                   const Publish& publish) {
  if (!view.open()) {
    return std::nullopt;
  }
  RunOutcome outcome = mergeReports(options, std::move(found));
  outcome.published = !publish || publish(outcome);
  if (outcome.mergedFile.complete) {
    view.askOpen(outcome.mergedFile.path, outcome.directory);
  }
  view.fill(outcome);
  view.wait();
  return outcome;
}

}  // namespace gapmerge
