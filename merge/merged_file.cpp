#include "merge/merged_file.hpp"

#include <utility>

#include "merge/sections.hpp"
#include "text/number_format.hpp"

namespace gapmerge {

MergedFile openMergedFile(const std::string& workingDirectory) {
  MergedFile merged;
  merged.path = workingDirectory + std::string(mergedFileName);
  TextFile file = createTextFile(merged.path);
  if (file.isOpen()) {
    merged.output = std::make_unique<MergedOutput>(std::move(file));
  }
  return merged;
}

void writeReportSections(MergedFile& merged, std::int64_t fileNmax, const StatsBlock& block) {
  if (!merged.output) {
    return;
  }
  BackgroundWriter& writer = merged.output->writer;
  appendReportSections(writer.block(), fileNmax, block);
  appendLine(writer, "");
}

void writeClosingSections(MergedFile& merged, std::int64_t lowestNmin, std::int64_t highestNmax,
                          std::int64_t finalRunningTotal, const StatsBlock& finalBlock) {
  if (merged.output) {
    BackgroundWriter& writer = merged.output->writer;
    appendLine(writer, rangeLine(lowestNmin, highestNmax));
    appendLine(writer, "");
    appendLine(writer, "nGaps = " + formatInteger(finalRunningTotal));
    appendLine(writer, "");
    appendLine(writer, closingSummary(finalBlock));
    writer.finish();
    merged.complete = closeTextFile(merged.output->file);
  }
}

}  // namespace gapmerge
