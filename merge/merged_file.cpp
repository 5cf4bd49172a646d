#include "merge/merged_file.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "text/whole_file.hpp"

namespace gapmerge {

namespace {

constexpr std::string_view temporaryPrefix = ".fileout.txt.";
constexpr std::string_view temporarySuffix = ".tmp";
constexpr unsigned newFileMode = 0666;
constexpr unsigned permissionBits = 07777;

bool isTemporaryName(std::string_view name) {
  return name.starts_with(temporaryPrefix) && name.ends_with(temporarySuffix);
}

// Removes the temporary files of runs that were killed; only a run that
// holds the folder's lock may, since no other run is writing one then. An
// export's temporary may be another folder's run's: it goes only when its
// process no longer runs.
void removeLeftTemporaries(const std::string& workingDirectory) {
  DIR* listing = ::opendir(workingDirectory.c_str());
  if (listing == nullptr) {
    return;
  }
  while (const dirent* entry = ::readdir(listing)) {
    if (isTemporaryName(entry->d_name)) {
      ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
  }
  ::closedir(listing);
  removeLeftExportTemporaries(workingDirectory);
}

// Takes the folder's lock. A file system that has no such locks (some network
// file systems) leaves the run without one rather than without a result.
bool lockFolder(MergedFile& merged, const std::string& workingDirectory) {
  const int fd = ::open(workingDirectory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    merged.problem = std::strerror(errno);
    return false;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
      merged.problem = "another run holds the folder";
      return false;
    }
    return true;
  }
  merged.lock = FolderLock(fd);
  return true;
}

// What stands at fileout.txt today: nothing, or a regular file whose
// permission bits the new file keeps. A link or anything else is never
// written through or replaced.
bool acceptPrevious(MergedFile& merged) {
  struct stat info {};
  if (::lstat(merged.path.c_str(), &info) != 0) {
    merged.mode = newFileMode;
    return true;
  }
  if (S_ISLNK(info.st_mode)) {
    merged.problem = "it is a symbolic link";
  } else if (S_ISDIR(info.st_mode)) {
    merged.problem = "it is a directory";
  } else if (!S_ISREG(info.st_mode)) {
    merged.problem = "it is not a regular file";
  } else {
    merged.previousExists = true;
    merged.mode = info.st_mode & permissionBits;
    return true;
  }
  return false;
}

bool createTemporary(MergedFile& merged, const std::string& workingDirectory, SectionFormat format,
                     unsigned threads) {
  merged.temporaryPath = workingDirectory + std::string(temporaryPrefix) +
                         std::to_string(::getpid()) + std::string(temporarySuffix);
  TextFile file = createNewTextFile(merged.temporaryPath, newFileMode);
  if (!file.isOpen()) {
    merged.problem = std::strerror(errno);
    return false;
  }
  merged.temporarySlot = noteTemporaryFile(merged.temporaryPath);
  if (merged.previousExists) {
    static_cast<void>(::fchmod(file.fd, merged.mode));
  }
  merged.output = std::make_unique<SectionWriter>(std::move(file), format, threads);
  return true;
}

// Renames the complete file into place, or removes what was written.
void putInPlace(MergedFile& merged) {
  if (merged.problem.empty() && ::rename(merged.temporaryPath.c_str(), merged.path.c_str()) != 0) {
    merged.problem = std::strerror(errno);
  }
  if (!merged.problem.empty()) {
    ::unlink(merged.temporaryPath.c_str());
  }
  forgetTemporaryFile(merged.temporarySlot);
  merged.complete = merged.problem.empty();
}

}  // namespace

FolderLock::FolderLock(FolderLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  std::swap(fd_, other.fd_);
  return *this;
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

MergedFile openMergedFile(const std::string& workingDirectory, SectionFormat format,
                          unsigned threads) {
  MergedFile merged;
  merged.path = workingDirectory + std::string(mergedFileName);
  if (lockFolder(merged, workingDirectory) && acceptPrevious(merged)) {
    if (merged.lock.fd() >= 0) {
      removeLeftTemporaries(workingDirectory);
    }
    createTemporary(merged, workingDirectory, format, threads);
  }
  return merged;
}

void writeReportSections(MergedFile& merged, std::int64_t fileNmax, const GapStats& stats) {
  if (merged.output) {
    merged.output->addReport(fileNmax, stats);
  }
}

void writeClosingSections(MergedFile& merged, std::string_view closingSections) {
  if (!merged.output) {
    return;
  }
  merged.output->addText(closingSections);
  if (const int error = merged.output->finish(); error != 0) {
    merged.problem = std::strerror(error);
  }
  putInPlace(merged);
}

std::uint64_t mergedBytesWritten(const MergedFile& merged) {
  return merged.output ? merged.output->bytesWritten() : 0;
}

}  // namespace gapmerge
