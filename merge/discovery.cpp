#include "merge/discovery.hpp"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <utility>

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
void scanOnce(const std::string& directory, std::vector<std::string>& reports,
              std::set<DirectoryId>& seen) {
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
          reports.push_back(std::move(path));
        }
        break;
      case EntryKind::skip:
        break;
    }
  }
}

// Decodes one UTF-8 sequence at s[i] into UTF-16 units, advancing i. A byte
// that does not start a valid sequence becomes one unit U+DC80 + (byte - 0x80)
// so that every byte string has a key.
void appendUtf16(std::string_view s, std::size_t& i, std::u16string& out) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  int length = 0;
  char32_t code = 0;
  if (lead < 0x80) {
    length = 1;
    code = lead;
  } else if (lead >= 0xC2 && lead < 0xE0) {
    length = 2;
    code = lead & 0x1FU;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    length = 3;
    code = lead & 0x0FU;
  } else if (lead >= 0xF0 && lead < 0xF5) {
    length = 4;
    code = lead & 0x07U;
  }
  bool valid = length > 0 && i + static_cast<std::size_t>(length) <= s.size();
  for (int k = 1; valid && k < length; ++k) {
    const unsigned char next = byte(i + static_cast<std::size_t>(k));
    valid = (next & 0xC0U) == 0x80U;
    code = (code << 6U) | (next & 0x3FU);
  }
  constexpr char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
  valid = valid && code >= minimum[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
  if (!valid) {
    out.push_back(static_cast<char16_t>(0xDC00U + lead));
    ++i;
    return;
  }
  if (code >= 0x10000) {
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800U + (code >> 10U)));
    out.push_back(static_cast<char16_t>(0xDC00U + (code & 0x3FFU)));
  } else {
    out.push_back(static_cast<char16_t>(code));
  }
  i += static_cast<std::size_t>(length);
}

}  // namespace

std::u16string orderingKey(std::string_view path) {
  std::u16string key;
  key.reserve(path.size());
  for (std::size_t i = 0; i < path.size();) {
    const char c = path[i];
    if (c == '/' || c == '_') {
      key.push_back(c == '/' ? u'\\' : u'#');
      ++i;
    } else {
      appendUtf16(path, i, key);
    }
  }
  return key;
}

void scanDirectory(const std::string& directory, std::vector<std::string>& reports) {
  std::set<DirectoryId> seen;
  scanOnce(directory, reports, seen);
}

void orderReports(std::vector<std::string>& reports) {
  std::vector<std::u16string> keys;
  keys.reserve(reports.size());
  for (const auto& path : reports) {
    keys.push_back(orderingKey(path));
  }
  sortByKeys(reports, keys);
}

std::vector<std::string> findReports(const std::string& workingDirectory) {
  std::vector<std::string> reports;
  scanDirectory(workingDirectory, reports);
  orderReports(reports);
  return reports;
}

}  // namespace gapmerge
