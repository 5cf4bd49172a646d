#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "merge/gap_stats.hpp"
#include "merge/section_writer.hpp"

// The merged results file, fileout.txt in the working directory. It is
// written section by section into a temporary file beside it while the
// reports are processed, and renamed to fileout.txt only once it is complete:
// until then, and when the run fails or is killed, the previous fileout.txt
// stays as it was. The run holds an exclusive lock on the folder meanwhile, so
// that two runs never write the same folder's file.
namespace gapmerge {

constexpr std::string_view mergedFileName = "fileout.txt";

// A descriptor of the run folder that holds its lock; -1 when none is held.
class FolderLock {
 public:
  FolderLock() = default;
  explicit FolderLock(int fd) : fd_(fd) {}
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  FolderLock(FolderLock&& other) noexcept;
  FolderLock& operator=(FolderLock&& other) noexcept;
  ~FolderLock();

  [[nodiscard]] int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

struct MergedFile {
  std::string path;           // of fileout.txt
  std::string temporaryPath;  // where it is written until it is complete
  FolderLock lock;
  std::unique_ptr<SectionWriter> output;  // none when the file could not be created
  unsigned mode = 0;                      // the permission bits it gets
  int temporarySlot = -1;                 // its note for the signal handlers
  bool previousExists = false;            // a fileout.txt was there before the run
  bool complete = false;                  // renamed into place with every byte written
  std::string problem;                    // why it could not be created or written; "" when it was
};

// Takes the folder's lock and creates the temporary file, to be formatted by
// format on the given number of threads; no output (and the reason in problem) when the
// folder is held by another run, fileout.txt is a link or not a regular file,
// or no new file can be made in the folder. A run that holds the lock first
// removes the temporary files that killed runs left.
MergedFile openMergedFile(const std::string& workingDirectory, SectionFormat format,
                          unsigned threads);

// Appends the sections after one report: its upper bound and the counters
// after it.
void writeReportSections(MergedFile& merged, std::int64_t fileNmax, const GapStats& stats);

// Appends the closing sections, closes the temporary file and renames it to
// fileout.txt when every byte was written; removes it otherwise.
void writeClosingSections(MergedFile& merged, std::string_view closingSections);

// Bytes of the file written so far.
std::uint64_t mergedBytesWritten(const MergedFile& merged);

}  // namespace gapmerge
