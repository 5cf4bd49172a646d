#include "merge/discovery.hpp"

#include <dirent.h>
#include <sys/stat.h>

#include <set>
#include <utility>
#include <vector>

#include "merge/ordering_key.hpp"

namespace gapmerge {

namespace {

using DirectoryId = std::pair<dev_t, ino_t>;

enum class EntryKind { skip, directory, file };

// What the scan does with one entry: real directories are entered, links to
// directories are passed over, everything else counts as a file.
EntryKind classify(const std::string& path, unsigned char type) {
  if (type == DT_DIR) {
    return EntryKind::directory;
  }
  struct stat info {};
  if (type == DT_UNKNOWN && ::lstat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      return EntryKind::directory;
    }
    type = S_ISLNK(info.st_mode) ? DT_LNK : DT_REG;
  }
  if (type == DT_LNK && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    return EntryKind::skip;
  }
  return EntryKind::file;
}

bool isReportName(std::string_view name) {
  return name.starts_with(reportNamePrefix);
}

struct Entry {
  std::string path;
  unsigned char type;
};

// The entries of one directory unless it was listed already (a bind mount can
// show a directory again below itself). The listing is closed before any
// subdirectory is entered, so a deep tree holds one directory open at a time
// and never runs out of file descriptors.
bool listOnce(const std::string& directory, std::set<DirectoryId>& seen,
              std::vector<Entry>& entries) {
  DIR* listing = ::opendir(directory.c_str());
  if (listing == nullptr) {
    return false;
  }
  struct stat info {};
  if (::fstat(::dirfd(listing), &info) != 0 || !seen.emplace(info.st_dev, info.st_ino).second) {
    ::closedir(listing);
    return false;
  }
  const std::string prefix = directory + '/';
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") {
      entries.push_back({prefix + std::string(name), entry->d_type});
    }
  }
  ::closedir(listing);
  return true;
}

// Scans one directory, depth first, in listing order.
void scanOnce(const std::string& directory, ReportList& reports, std::set<DirectoryId>& seen) {
  std::vector<Entry> entries;
  if (!listOnce(directory, seen, entries)) {
    return;
  }
  for (auto& [path, type] : entries) {
    switch (classify(path, type)) {
      case EntryKind::directory:
        scanOnce(path, reports, seen);
        break;
      case EntryKind::file:
        if (isReportName(std::string_view(path).substr(directory.size() + 1))) {
          reports.add(path);
        }
        break;
      case EntryKind::skip:
        break;
    }
  }
}

}  // namespace

void scanDirectory(const std::string& directory, ReportList& reports) {
  std::set<DirectoryId> seen;
  scanOnce(directory, reports, seen);
}

void orderReports(ReportList& reports) {
  reports.sortStably(keyLess);
}

ReportList findReports(const std::string& workingDirectory) {
  ReportList reports;
  scanDirectory(workingDirectory, reports);
  orderReports(reports);
  return reports;
}

}  // namespace gapmerge
