#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Finding the slice reports below the working directory and putting them in
// processing order.
namespace gapmerge {

// The paths of the reports a run reads, held flat: one buffer of paths, each
// ended by NUL, and where each path starts, in processing order. A million
// reports cost their path bytes and eight bytes each.
class ReportList {
 public:
  void add(std::string_view path) {
    starts_.push_back(bytes_.size());
    bytes_.append(path).push_back('\0');
  }

  [[nodiscard]] std::size_t size() const { return starts_.size(); }
  [[nodiscard]] bool empty() const { return starts_.empty(); }

  // The i-th path in processing order, ended by NUL.
  [[nodiscard]] const char* path(std::size_t i) const { return bytes_.data() + starts_[i]; }
  [[nodiscard]] std::string_view pathView(std::size_t i) const { return path(i); }

  // Orders the paths stably by less(pathA, pathB), which gets them ended by NUL.
  template <typename Less>
  void sortStably(Less less) {
    std::stable_sort(starts_.begin(), starts_.end(),
                     [this, &less](std::uint64_t a, std::uint64_t b) {
                       return less(bytes_.data() + a, bytes_.data() + b);
                     });
  }

  // Orders the paths stably by keys[i], the key of the i-th path.
  template <typename Key>
  void sortStablyByKeys(const std::vector<Key>& keys) {
    std::vector<std::pair<Key, std::uint64_t>> keyed;
    keyed.reserve(starts_.size());
    for (std::size_t i = 0; i < starts_.size(); ++i) {
      keyed.emplace_back(keys[i], starts_[i]);
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
      starts_[i] = keyed[i].second;
    }
  }

 private:
  std::string bytes_;
  std::vector<std::uint64_t> starts_;
};

constexpr std::string_view reportNamePrefix = "Tramvelok";

// A folder whose entries could not be read: nothing below it was found.
struct UnlistedFolder {
  std::string path;    // relative to the working directory, ending with "/"
  std::string reason;  // the system's text for the error
};

struct Discovery {
  ReportList reports;                    // in path order
  std::vector<UnlistedFolder> unlisted;  // in the order the scan met them
  std::size_t linksNotFollowed = 0;      // links to folders passed over
};

// Every file below workingDirectory (which ends with "/") whose name begins
// with reportNamePrefix, in path order (merge/ordering.hpp). The scan goes
// depth first, in listing order, into every real folder once; links to folders
// are entered only when followLinks is set, and counted otherwise.
Discovery findReports(const std::string& workingDirectory, bool followLinks = false);

}  // namespace gapmerge
