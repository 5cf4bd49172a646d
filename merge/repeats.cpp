#include "merge/repeats.hpp"

#include "merge/table_fingerprint.hpp"

namespace gapmerge {

namespace {

ReportContent contentOf(const ReportReading& reading) {
  ReportContent content{.nPrimes = reading.nPrimes,
                        .nPrimes2 = reading.nPrimes2,
                        .nGaps = reading.nGaps,
                        .firstPrime = reading.firstPrime,
                        .lastPrime = reading.lastPrime,
                        .table = reading.outsideTable};
  for (const auto& [gap, sum] : reading.gapSums) {
    addToFingerprint(content.table, gap, sum);
  }
  return content;
}

}  // namespace

RepeatFinder::RepeatFinder(const std::vector<std::vector<std::size_t>>& groups)
    : merged_(groups.size()) {
  for (std::size_t group = 0; group < groups.size(); ++group) {
    for (const std::size_t report : groups[group]) {
      groupOf_.emplace(report, group);
    }
  }
}

std::optional<Repeat> RepeatFinder::repeatOf(std::size_t report, const ReportReading& reading) {
  const auto group = groupOf_.find(report);
  if (group == groupOf_.end()) {
    return std::nullopt;
  }
  auto& merged = merged_[group->second];
  if (!merged) {
    merged = Merged{report, contentOf(reading)};
    return std::nullopt;
  }
  return Repeat{merged->report, !(contentOf(reading) == merged->content)};
}

}  // namespace gapmerge
