#include "merge/merged_file.hpp"

#include <utility>

#include "merge/sections.hpp"
#include "text/number_format.hpp"

namespace gapmerge {

MergedFile openMergedFile(const std::string& workingDirectory, unsigned threads) {
  MergedFile merged;
  merged.path = workingDirectory + std::string(mergedFileName);
  TextFile file = createTextFile(merged.path);
  if (file.isOpen()) {
    merged.output = std::make_unique<SectionWriter>(std::move(file), threads);
  }
  return merged;
}

void writeReportSections(MergedFile& merged, std::int64_t fileNmax, const GapStats& stats) {
  if (merged.output) {
    merged.output->addReport(fileNmax, stats);
  }
}

void writeClosingSections(MergedFile& merged, std::int64_t lowestNmin, std::int64_t highestNmax,
                          std::int64_t finalRunningTotal, const StatsBlock& finalBlock) {
  if (!merged.output) {
    return;
  }
  std::string text = rangeLine(lowestNmin, highestNmax);
  text.append("\r\n\r\nnGaps = ").append(formatInteger(finalRunningTotal)).append("\r\n\r\n");
  text.append(closingSummary(finalBlock)).append("\r\n");
  merged.output->addText(text);
  merged.complete = merged.output->finish();
}

std::uint64_t mergedBytesWritten(const MergedFile& merged) {
  return merged.output ? merged.output->bytesWritten() : 0;
}

}  // namespace gapmerge
