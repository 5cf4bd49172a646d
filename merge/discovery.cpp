#include "merge/discovery.hpp"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

#include "merge/ordering.hpp"

namespace gapmerge {

namespace {

using DirectoryId = std::pair<dev_t, ino_t>;

enum class EntryKind { file, directory, linkToDirectory };

// What an entry is: a real directory, a link that leads to one, or anything
// else, which counts as a file.
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
    return EntryKind::linkToDirectory;
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

// One scan: what it found and which folders it has listed.
struct Scan {
  const std::string& root;
  bool followLinks;
  Discovery found;
  std::set<DirectoryId> seen;
};

void noteUnlisted(Scan& scan, const std::string& directory, int error) {
  // The root ends with "/"; the folders below it add "/" + their name.
  std::string relative = directory.size() > scan.root.size()
                             ? directory.substr(scan.root.size() + 1) + "/"
                             : std::string("./");
  scan.found.unlisted.push_back({std::move(relative), std::strerror(error)});
}

// The entries of one directory unless it was listed already (a bind mount or
// a followed link can show a directory again). The listing is closed before
// any subdirectory is entered, so a deep tree holds one directory open at a
// time and never runs out of file descriptors. A directory that cannot be
// read whole is noted and gives no entry.
bool listOnce(Scan& scan, const std::string& directory, std::vector<Entry>& entries) {
  DIR* listing = ::opendir(directory.c_str());
  if (listing == nullptr) {
    noteUnlisted(scan, directory, errno);
    return false;
  }
  struct stat info {};
  if (::fstat(::dirfd(listing), &info) != 0 ||
      !scan.seen.emplace(info.st_dev, info.st_ino).second) {
    ::closedir(listing);
    return false;
  }
  const std::string prefix = directory + '/';
  errno = 0;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") {
      entries.push_back({prefix + std::string(name), entry->d_type});
    }
    errno = 0;
  }
  const int error = errno;
  ::closedir(listing);
  if (error != 0) {
    entries.clear();
    noteUnlisted(scan, directory, error);
    return false;
  }
  return true;
}

// Scans one directory, depth first, in listing order.
// NOLINTNEXTLINE(misc-no-recursion): one call a folder level, no deeper than the longest path
void scanOnce(Scan& scan, const std::string& directory) {
  std::vector<Entry> entries;
  if (!listOnce(scan, directory, entries)) {
    return;
  }
  for (auto& [path, type] : entries) {
    switch (classify(path, type)) {
      case EntryKind::linkToDirectory:
        if (!scan.followLinks) {
          ++scan.found.linksNotFollowed;
          break;
        }
        [[fallthrough]];
      case EntryKind::directory:
        scanOnce(scan, path);
        break;
      case EntryKind::file:
        if (isReportName(std::string_view(path).substr(directory.size() + 1))) {
          scan.found.reports.add(path);
        }
        break;
    }
  }
}

}  // namespace

Discovery findReports(const std::string& workingDirectory, bool followLinks) {
  Scan scan{workingDirectory, followLinks, {}, {}};
  scanOnce(scan, workingDirectory);
  orderReports(scan.found.reports);
  return std::move(scan.found);
}

}  // namespace gapmerge
