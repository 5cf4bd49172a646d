#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "merge/gap_stats.hpp"
#include "text/text_file.hpp"

// The merged results file, fileout.txt in the working directory, written
// section by section while the reports are processed.
namespace gapmerge {

constexpr std::string_view mergedFileName = "fileout.txt";

struct MergedFile {
  std::string path;
  TextFile file;
  bool created = false;
  bool complete = false;  // closed with every byte written
  std::string section;    // reused text of the section being written
};

// Creates (or empties) the file; `created` tells whether that succeeded.
MergedFile openMergedFile(const std::string& workingDirectory);

// Appends the 26 lines after one report.
void writeReportSections(MergedFile& merged, std::int64_t fileNmax, const StatsBlock& block);

// Appends the closing sections, closes the file and returns the closing
// summary text.
std::string writeClosingSections(MergedFile& merged, std::int64_t lowestNmin,
                                 std::int64_t highestNmax, std::int64_t finalRunningTotal,
                                 const StatsBlock& finalBlock);

}  // namespace gapmerge
