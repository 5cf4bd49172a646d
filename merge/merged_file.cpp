#include "merge/merged_file.hpp"

#include "merge/sections.hpp"
#include "text/number_format.hpp"

namespace gapmerge {

MergedFile openMergedFile(const std::string& workingDirectory) {
  MergedFile merged;
  merged.path = workingDirectory + std::string(mergedFileName);
  merged.file = createTextFile(merged.path);
  merged.created = merged.file.isOpen();
  return merged;
}

void writeReportSections(MergedFile& merged, std::int64_t fileNmax, const StatsBlock& block) {
  merged.section.clear();
  appendReportSections(merged.section, fileNmax, block);
  writeLine(merged.file, merged.section);
}

std::string writeClosingSections(MergedFile& merged, std::int64_t lowestNmin,
                                 std::int64_t highestNmax, std::int64_t finalRunningTotal,
                                 const StatsBlock& finalBlock) {
  writeLine(merged.file, rangeLine(lowestNmin, highestNmax));
  writeLine(merged.file, "");
  writeLine(merged.file, "nGaps = " + formatInteger(finalRunningTotal));
  std::string summary = closingSummary(finalBlock);
  writeLine(merged.file, "");
  writeLine(merged.file, summary);
  merged.complete = closeTextFile(merged.file);
  return summary;
}

}  // namespace gapmerge
