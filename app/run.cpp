#include "app/run.hpp"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "merge/checks.hpp"
#include "merge/gap_model.hpp"
#include "merge/gap_stats.hpp"
#include "merge/merged_file.hpp"
#include "merge/ordering.hpp"
#include "merge/published_counts.hpp"
#include "merge/report.hpp"
#include "merge/report_reader.hpp"
#include "render/merged_file_text.hpp"
#include "text/strings.hpp"

namespace gapmerge {

namespace {

// Everything one run holds from start to exit. The outcome is filled as the
// run goes.
struct RunState {
  RunOutcome outcome;
  ReportList reports;
  ReportRecord record;
  GapStats stats;
  MergedFile merged;
  std::unique_ptr<Verification> verification;
  std::unique_ptr<ReportReader> reader;
};

std::size_t placeOf(std::size_t index) {
  return index + 1;
}

void warn(RunState& run, std::string subject, Warning warning, std::size_t place) {
  run.outcome.warnings.push_back({std::move(subject), {std::move(warning)}, place});
}

void warnAboutReport(RunState& run, std::size_t index, Warning warning) {
  warn(run, run.outcome.lastReportName, std::move(warning), placeOf(index));
}

void widenRange(RunState& run) {
  BoundRange& bounds = run.outcome.bounds;
  bounds.from = std::min(bounds.from, run.record.fileNmin);
  bounds.to = std::max(bounds.to, run.record.fileNmax);
}

// No gap between consecutive primes below 2^64 comes near the histogram's
// limit, so a mid gap below 1 or above it means a hole, an overlap or slices
// out of order: the histogram lost the true joining gap.
void warnIfSlicesDoNotJoin(RunState& run, std::size_t index, std::int64_t midGap) {
  if (midGap >= 1 && midGap <= maxHistogramGap) {
    return;
  }
  ++run.outcome.shortfall.joinsBroken;
  warnAboutReport(run, index, SlicesDoNotJoin{midGap});
}

// Checks one report that could be opened, then counts its mid gap.
void mergeReport(RunState& run, std::size_t index) {
  if (auto failed = failedChecks(run.record); !failed.empty()) {
    if (failed.back().check == Check::gapTable) {
      ++run.outcome.shortfall.reportsNotAddingUp;
    }
    run.outcome.warnings.push_back(
        {run.outcome.lastReportName, {failed.begin(), failed.end()}, placeOf(index)});
  }
  if (const auto midGap = addMidGap(run.stats, run.record.firstPrime)) {
    warnIfSlicesDoNotJoin(run, index, *midGap);
  }
}

// A report that cannot be opened contributes nothing and cuts the chain of
// mid gaps: the next report forms no gap across the hole.
void skipReport(RunState& run, std::size_t index) {
  ++run.outcome.shortfall.reportsUnread;
  warnAboutReport(run, index, ReportUnopened{});
}

void processReport(RunState& run, std::size_t index) {
  ReportReading& reading = run.reader->take(index);
  const bool opened = reading.opened;
  run.outcome.lastReportName = filePart(run.reports.pathView(index));
  applyReading(reading, run.record, run.stats);
  widenRange(run);
  if (opened) {
    mergeReport(run, index);
  } else {
    skipReport(run, index);
  }
  writeReportSections(run.merged, run.record.fileNmax, run.stats);
  keepLastPrime(run.stats, opened ? run.record.lastPrime : 0);
  if (run.verification && run.verification->isChosen(index)) {
    run.verification->submit(index, readNameRange(run.outcome.lastReportName), opened,
                             std::move(reading));
  }
}

void startRun(RunState& run, const RunOptions& options, Discovery found) {
  RunOutcome& outcome = run.outcome;
  outcome.directory = options.directory;
  outcome.order = options.rangeOrder ? ReportOrder::range : ReportOrder::path;
  outcome.unlistedFolders = std::move(found.unlisted);
  outcome.linksNotFollowed = found.linksNotFollowed;
  run.reports = std::move(found.reports);
  if (options.rangeOrder) {
    orderReportsByRange(run.reports);
  }
  outcome.reports = run.reports.size();
  if (options.verify) {
    run.verification = std::make_unique<Verification>(run.reports.size(), *options.verify);
  }
  run.merged = openMergedFile(outcome.directory, &appendReportSections, options.threads);
  if (!run.merged.output) {
    warn(run, std::string(mergedFileName), MergedFileNotCreated{outcome.directory}, 0);
  }
  for (const auto& [path, reason] : outcome.unlistedFolders) {
    warn(run, path, FolderUnlisted{reason}, 0);
  }
  run.reader = std::make_unique<ReportReader>(
      run.reports, options.threads, [verification = run.verification.get()](std::size_t index) {
        return verification != nullptr && verification->isChosen(index);
      });
}

// Writes the closing sections and notes how fileout.txt ended.
void closeRun(RunState& run) {
  RunOutcome& outcome = run.outcome;
  outcome.histogram = run.stats.histogram;
  finalSeries(outcome.histogram, outcome.finalBlock);
  outcome.runningTotal = runningTotal(run.stats);
  writeClosingSections(run.merged, closingSections(outcome.bounds.from, outcome.bounds.to,
                                                   outcome.runningTotal, outcome.finalBlock));
  if (run.merged.output && !run.merged.complete) {
    warn(run, std::string(mergedFileName), MergedFileIncomplete{outcome.directory},
         placeOf(run.reports.size()));
  }
  outcome.mergedFile = {.path = run.merged.path,
                        .created = run.merged.output != nullptr,
                        .complete = run.merged.complete,
                        .previousExists = run.merged.previousExists,
                        .problem = run.merged.problem};
  outcome.coverage = coverageOfReports(run.reports, outcome.directory);
  if (const auto range = nameRange(outcome)) {
    outcome.expected = expectedGapCounts(*range);
  }
  outcome.published = compareWithPublished(tiledRange(outcome.coverage), outcome.histogram);
  if (outcome.shortfall.joinsBroken > 0 && outcome.order == ReportOrder::path) {
    outcome.shortfall.joinInRangeOrder = joinsInRangeOrder(run.reports);
  }
}

void sendProgress(const RunState& run, const RunOptions& options, std::size_t merged, bool done) {
  if (options.progress) {
    options.progress({.reportsMerged = merged,
                      .reportsTotal = run.reports.size(),
                      .bytesWritten = mergedBytesWritten(run.merged),
                      .verify = run.verification ? run.verification->progress() : VerifyProgress{},
                      .done = done});
  }
}

// The sieving threads may still be busy once every report is merged; the
// progress goes on showing them.
void awaitVerification(const RunState& run, const RunOptions& options) {
  constexpr std::chrono::milliseconds interval{100};
  while (options.progress && !run.verification->done()) {
    sendProgress(run, options, run.reports.size(), false);
    std::this_thread::sleep_for(interval);
  }
}

// An entry for every report that does not match a fresh sieve or cannot be
// verified, right after that report's own entries.
void addVerdicts(RunState& run) {
  VerificationTally tally;
  std::vector<WarningEntry> verdicts;
  for (const auto& result : run.verification->finish(tally)) {
    const std::string name(filePart(run.reports.pathView(result.report)));
    const std::size_t place = placeOf(result.report);
    if (result.verdict == VerifyVerdict::differs) {
      verdicts.push_back({name, {ReportDiffers{result.difference}}, place});
    } else if (result.verdict != VerifyVerdict::matches) {
      const bool tooWide = result.verdict == VerifyVerdict::tooWide;
      verdicts.push_back({name, {ReportNotVerifiable{tooWide}}, place});
    }
  }
  auto& warnings = run.outcome.warnings;
  std::vector<WarningEntry> merged;
  merged.reserve(warnings.size() + verdicts.size());
  std::merge(std::make_move_iterator(warnings.begin()), std::make_move_iterator(warnings.end()),
             std::make_move_iterator(verdicts.begin()), std::make_move_iterator(verdicts.end()),
             std::back_inserter(merged),
             [](const WarningEntry& a, const WarningEntry& b) { return a.place < b.place; });
  warnings = std::move(merged);
  run.outcome.verification = tally;
}

}  // namespace

RunOutcome mergeReports(const RunOptions& options, Discovery found) {
  RunState run;
  startRun(run, options, std::move(found));
  for (std::size_t index = 0; index < run.reports.size(); ++index) {
    processReport(run, index);
    sendProgress(run, options, index + 1, false);
  }
  run.reader.reset();
  closeRun(run);
  if (run.verification) {
    awaitVerification(run, options);
    addVerdicts(run);
  }
  sendProgress(run, options, run.reports.size(), true);
  return std::move(run.outcome);
}

std::optional<RunOutcome> runMerge(ResultView& view, const RunOptions& options, Discovery found,
                                   const Publish& publish) {
  if (!view.open()) {
    return std::nullopt;
  }
  RunOutcome outcome = mergeReports(options, std::move(found));
  outcome.exportsWritten = !publish || publish(outcome);
  if (outcome.mergedFile.complete) {
    view.askOpen(outcome.mergedFile.path, outcome.directory);
  }
  view.fill(outcome);
  view.wait();
  return outcome;
}

}  // namespace gapmerge
