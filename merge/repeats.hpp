#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "merge/report.hpp"
#include "merge/table_fingerprint.hpp"

// Slices present twice: a report whose name gives the very range of a report
// merged before it in the run is a repeat of that one, and nothing of it is
// merged. Only the reports that share their range with another (the
// coverage's duplicate groups) are looked at, so a run without such reports
// keeps nothing per report.
namespace gapmerge {

struct Repeat {
  std::size_t of = 0;    // the run position of the report it repeats
  bool differs = false;  // its content is not that of the report it repeats
};

// What a repeat is compared by: the counts and primes as the report gives
// them, and a 128-bit fingerprint of its gap quantities summed by size (a size
// whose quantities sum to 0 counts as absent).
struct ReportContent {
  std::optional<std::int64_t> nPrimes;
  std::optional<std::int64_t> nPrimes2;
  std::optional<std::int64_t> nGaps;
  std::optional<std::int64_t> firstPrime;
  std::optional<std::int64_t> lastPrime;
  TableFingerprint table{};

  friend bool operator==(const ReportContent&, const ReportContent&) = default;
};

class RepeatFinder {
 public:
  RepeatFinder() = default;
  // groups: the run positions of the reports that share one range, each
  // group ascending.
  explicit RepeatFinder(const std::vector<std::vector<std::size_t>>& groups);

  // For a report that was opened, in run order: the report it repeats; none
  // when it is merged, and then it is the one that later reports of its range
  // repeat.
  std::optional<Repeat> repeatOf(std::size_t report, const ReportReading& reading);

 private:
  struct Merged {
    std::size_t report = 0;
    ReportContent content;
  };

  std::unordered_map<std::size_t, std::size_t> groupOf_;  // run position -> group
  std::vector<std::optional<Merged>> merged_;             // per group: the report merged
};

}  // namespace gapmerge
