#include "app/run.hpp"

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "merge/checks.hpp"
#include "merge/discovery.hpp"
#include "merge/gap_stats.hpp"
#include "merge/merged_file.hpp"
#include "merge/range_order.hpp"
#include "merge/report.hpp"
#include "text/number_format.hpp"
#include "text/strings.hpp"
#include "text/text_file.hpp"

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
  std::string runWarnings;
};

void widenRange(RunState& run) {
  if (run.record.fileNmax > run.highestNmax) {
    run.highestNmax = run.record.fileNmax;
  }
  if (run.record.fileNmin < run.lowestNmin) {
    run.lowestNmin = run.record.fileNmin;
  }
}

// No gap between consecutive primes below 2^64 comes near the histogram's
// limit, so a mid gap below 1 or above it means a hole, an overlap or slices
// out of order: the histogram lost the true joining gap.
void warnIfSlicesDoNotJoin(RunState& run, std::int64_t midGap) {
  if (midGap >= 1 && midGap <= maxHistogramGap) {
    return;
  }
  appendWarningEntry(run.runWarnings, run.reportName,
                     "Slices do not join: mid gap " + formatInteger(midGap) +
                         " to the previous report in " + run.reportName + "\n");
}

// Reads and checks one report that could be opened, then counts its mid gap.
void mergeReport(RunState& run, TextFile& file) {
  parseReport(file, run.record, run.stats);
  checkReport(run.record, run.reportName, run.runWarnings);
  closeTextFile(file);
  if (const auto midGap = addMidGap(run.stats, run.record.firstPrime)) {
    warnIfSlicesDoNotJoin(run, *midGap);
  }
}

// A report that cannot be opened contributes nothing and cuts the chain of
// mid gaps: the next report forms no gap across the hole.
void skipReport(RunState& run) {
  appendWarningEntry(run.runWarnings, run.reportName,
                     "Report could not be opened, nothing merged from " + run.reportName + "\n");
}

void processReport(RunState& run, const std::string& path) {
  run.reportName = filePart(path);
  parseReportName(run.reportName, run.record);
  widenRange(run);
  TextFile file = openTextFile(path);
  const bool opened = file.isOpen();
  if (opened) {
    mergeReport(run, file);
  } else {
    skipReport(run);
  }
  reportSeries(run.stats, run.block);
  writeReportSections(run.merged, run.record.fileNmax, run.block);
  closeReport(run.stats, opened ? run.record.lastPrime : 0);
}

void warnAboutMergedFile(RunState& run, std::string_view problem) {
  appendWarningEntry(run.runWarnings, mergedFileName,
                     std::string(problem) + run.workingDirectory + "\n");
}

// Writes the closing sections and returns the closing summary text.
std::string closeRun(RunState& run) {
  finalSeries(run.stats, run.block);
  std::string summary = writeClosingSections(run.merged, run.lowestNmin, run.highestNmax,
                                             runningTotal(run.stats), run.block);
  if (run.merged.output && !run.merged.complete) {
    warnAboutMergedFile(run, "Merged results file is incomplete, writing failed in ");
  }
  return summary;
}

}  // namespace

RunStatus runMerge(ResultView& view, const RunOptions& options) {
  if (!view.open()) {
    return RunStatus::viewUnavailable;
  }
  RunState run;
  run.workingDirectory = workingDirectory();
  run.reports = findReports(run.workingDirectory);
  if (options.rangeOrder) {
    orderReportsByRange(run.reports);
  }
  run.merged = openMergedFile(run.workingDirectory);
  if (!run.merged.output) {
    warnAboutMergedFile(run, "Merged results file could not be created in ");
  }
  for (const auto& path : run.reports) {
    processReport(run, path);
  }
  ViewText text;
  text.summary = closeRun(run);
  if (run.merged.output) {
    view.askOpen(run.merged.path, run.workingDirectory);
  }
  text.fileItem = "FileName : " + run.reportName + "\r\nOutputDirectory : " + run.workingDirectory;
  text.warnings = std::move(run.runWarnings);
  view.fill(text);
  view.wait();
  return run.merged.complete ? RunStatus::merged : RunStatus::mergedFileFailed;
}

}  // namespace gapmerge
