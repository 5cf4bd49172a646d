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

#include "app/prime_counter.hpp"
#include "merge/checks.hpp"
#include "merge/gap_model.hpp"
#include "merge/gap_stats.hpp"
#include "merge/merged_file.hpp"
#include "merge/ordering.hpp"
#include "merge/primality.hpp"
#include "merge/published_counts.hpp"
#include "merge/repeats.hpp"
#include "merge/report.hpp"
#include "merge/report_reader.hpp"
#include "render/merged_file_text.hpp"
#include "text/strings.hpp"
#include "text/wrap.hpp"

namespace gapmerge {

namespace {

// The report whose last prime the next mid gap is measured from.
struct ChainEnd {
  std::size_t report = 0;
  std::int64_t upperBound = 0;  // in its name
};

// Everything one run holds from start to exit. The outcome is filled as the
// run goes.
struct RunState {
  RunOutcome outcome;
  ReportList reports;
  ReportRecord record;
  GapStats stats;
  ChainEnd previous;
  bool firstPrimeMerged = false;
  RepeatFinder repeats;
  MergedFile merged;
  std::unique_ptr<Verification> verification;
  std::unique_ptr<PrimeCounter> primeCounter;
  std::unique_ptr<ReportReader> reader;
};

std::size_t placeOf(std::size_t index) {
  return index + 1;
}

std::string nameOf(const RunState& run, std::size_t index) {
  return std::string(filePart(run.reports.pathView(index)));
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
// out of order: the histogram lost the true joining gap. A mid gap that fits
// can still pass over primes where the names leave integers between the two
// slices: any prime there breaks the join too.
void checkJoin(RunState& run, std::size_t index, std::int64_t firstPrime, std::int64_t midGap) {
  SlicesDoNotJoin join;
  join.midGap = midGap;
  if (midGap >= 1 && midGap <= maxHistogramGap) {
    if (!leavesIntegersBetween(run.previous.upperBound, run.record.fileNmin)) {
      return;
    }
    join.previousLastPrime = run.stats.previousLastPrime;
    join.firstPrime = firstPrime;
    join.primesLeftOut = primesStrictlyBetween(join.previousLastPrime, firstPrime);
    if (join.primesLeftOut == 0) {
      return;
    }
  }
  join.previousReport = nameOf(run, run.previous.report);
  ++run.outcome.shortfall.joinsBroken;
  warnAboutReport(run, index, std::move(join));
}

// Checks a report that could be opened: one entry with every failed check.
void checkReport(RunState& run, std::size_t index, const ReportReading& reading) {
  const auto failed = failedChecks(run.record, reading);
  if (failed.empty()) {
    return;
  }
  const auto found = [&failed](auto what) {
    return std::any_of(failed.begin(), failed.end(), what);
  };
  if (found([](const FailedCheck& f) { return meansNotAddingUp(f.check); })) {
    ++run.outcome.shortfall.reportsNotAddingUp;
  }
  if (found([](const FailedCheck& f) { return f.check == Check::estimate; })) {
    ++run.outcome.estimateWarnings;
  }
  run.outcome.warnings.push_back(
      {run.outcome.lastReportName, {failed.begin(), failed.end()}, placeOf(index)});
}

// Counts the gap table of a report and the mid gap that joins it to the
// chain of slices. An empty slice leaves the chain as it was; a report
// without a first prime forms no mid gap, one without a last prime cuts the
// chain, as a report that cannot be opened does.
void mergeReport(RunState& run, std::size_t index, const ReportReading& reading) {
  ++run.outcome.reportsMerged;
  addGapTable(run.stats, reading.gapSums, reading.gapTableSum);
  if (isEmptySlice(reading)) {
    return;
  }
  if (reading.firstPrime) {
    run.firstPrimeMerged = true;
    if (const auto midGap = addMidGap(run.stats, *reading.firstPrime)) {
      checkJoin(run, index, *reading.firstPrime, *midGap);
    }
  }
  keepLastPrime(run.stats, reading.lastPrime.value_or(0));
  run.previous = {index, reading.fileNmax};
}

// A slice present twice is merged once: nothing of the repeat is merged and
// the chain stays with the report before it.
void passOverRepeat(RunState& run, std::size_t index, const Repeat& repeat) {
  if (repeat.differs) {
    ++run.outcome.shortfall.repeatsDiffering;
  }
  warnAboutReport(run, index, ReportRepeats{nameOf(run, repeat.of), repeat.differs});
}

// A report that cannot be opened contributes nothing and cuts the chain of
// mid gaps: the next report forms no gap across the hole.
void skipReport(RunState& run, std::size_t index) {
  ++run.outcome.shortfall.reportsUnread;
  warnAboutReport(run, index, ReportUnopened{});
  keepLastPrime(run.stats, 0);
}

void processReport(RunState& run, std::size_t index) {
  ReportReading& reading = run.reader->take(index);
  run.outcome.lastReportName = filePart(run.reports.pathView(index));
  applyReading(reading, run.record);
  widenRange(run);
  if (!reading.opened) {
    skipReport(run, index);
  } else {
    checkReport(run, index, reading);
    if (const auto repeat = run.repeats.repeatOf(index, reading)) {
      passOverRepeat(run, index, *repeat);
    } else {
      mergeReport(run, index, reading);
    }
  }
  writeReportSections(run.merged, run.record.fileNmax, run.stats);
  if (run.verification && run.verification->isChosen(index)) {
    const bool opened = reading.opened;
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
  run.primeCounter = std::make_unique<PrimeCounter>(run.reports, options.countLimit);
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
  outcome.coverage = coverageOfReports(run.reports, outcome.directory);
  run.repeats = RepeatFinder(outcome.coverage.duplicateReports);
}

// The primes the merged gaps join: one more than the gaps, once there is a
// prime at all.
std::int64_t primesJoined(const RunState& run) {
  const StatsBlock& block = run.outcome.finalBlock;
  return run.firstPrimeMerged || !block.counts.empty() ? addWrap(block.divisor, 1) : 0;
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
  if (const auto range = nameRange(outcome)) {
    outcome.expected = expectedGapCounts(*range);
  }
  outcome.published = compareWithPublished(tiledRange(outcome.coverage), outcome.histogram);
  outcome.primesMerged = primesJoined(run);
  outcome.primeCount = run.primeCounter->check(outcome.primesMerged);
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
                                   const Publish& publish, const Tell& tell) {
  if (!view.open()) {
    return std::nullopt;
  }
  RunOutcome outcome = mergeReports(options, std::move(found));
  outcome.exportsWritten = !publish || publish(outcome);
  if (tell) {
    tell(outcome);
  }
  if (outcome.mergedFile.complete) {
    view.askOpen(outcome.mergedFile.path, outcome.directory);
  }
  view.fill(outcome);
  view.wait();
  return outcome;
}

}  // namespace gapmerge
