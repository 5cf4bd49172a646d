#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "merge/gap_stats.hpp"
#include "merge/section_writer.hpp"

// The merged results file, fileout.txt in the working directory, written
// section by section while the reports are processed.
namespace gapmerge {

constexpr std::string_view mergedFileName = "fileout.txt";

struct MergedFile {
  std::string path;
  std::unique_ptr<SectionWriter> output;  // none when the file could not be created
  bool complete = false;                  // closed with every byte written
};

// Creates (or empties) the file, formatted with the given number of threads;
// no output when that failed.
MergedFile openMergedFile(const std::string& workingDirectory, unsigned threads);

// Appends the 26 lines after one report: its upper bound and the counters
// after it.
void writeReportSections(MergedFile& merged, std::int64_t fileNmax, const GapStats& stats);

// Appends the closing sections and closes the file.
void writeClosingSections(MergedFile& merged, std::int64_t lowestNmin, std::int64_t highestNmax,
                          std::int64_t finalRunningTotal, const StatsBlock& finalBlock);

// Bytes of the file written so far.
std::uint64_t mergedBytesWritten(const MergedFile& merged);

}  // namespace gapmerge
