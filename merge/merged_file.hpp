#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "merge/gap_stats.hpp"
#include "text/background_writer.hpp"
#include "text/text_file.hpp"

// The merged results file, fileout.txt in the working directory, written
// section by section while the reports are processed.
namespace gapmerge {

constexpr std::string_view mergedFileName = "fileout.txt";

// The open file and the thread that writes it; kept at one address because
// the writer refers to the file.
struct MergedOutput {
  explicit MergedOutput(TextFile opened) : file(std::move(opened)) {}
  TextFile file;
  BackgroundWriter writer{file};
};

struct MergedFile {
  std::string path;
  std::unique_ptr<MergedOutput> output;  // none when the file could not be created
  bool complete = false;                 // closed with every byte written
};

// Creates (or empties) the file; no output when that failed.
MergedFile openMergedFile(const std::string& workingDirectory);

// Appends the 26 lines after one report.
void writeReportSections(MergedFile& merged, std::int64_t fileNmax, const StatsBlock& block);

// Appends the closing sections and closes the file.
void writeClosingSections(MergedFile& merged, std::int64_t lowestNmin, std::int64_t highestNmax,
                          std::int64_t finalRunningTotal, const StatsBlock& finalBlock);

}  // namespace gapmerge
