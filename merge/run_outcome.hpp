#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "merge/bound_range.hpp"
#include "merge/coverage.hpp"
#include "merge/discovery.hpp"
#include "merge/gap_stats.hpp"

// What one merge run found, as plain data: the result window, the batch text
// and the exports are all made from it.
namespace gapmerge {

enum class ReportOrder { path, range };

// The warnings about one subject: a report name, or the merged file's name.
struct WarningEntry {
  std::string subject;
  std::vector<std::string> messages;  // one warning line each, without line end
};

struct MergedFileStatus {
  std::string path;
  bool created = false;         // its temporary file was created for this run
  bool complete = false;        // every byte reached it and it replaced the previous file
  bool previousExists = false;  // a fileout.txt stood there before the run
  std::string problem;          // why it could not be created or written; "" when it was
};

// What the verification of reports against a fresh sieve found.
struct VerificationTally {
  std::uint64_t seed = 0;
  std::size_t chosen = 0;    // reports chosen and read: verified + notVerifiable
  std::size_t verified = 0;  // compared with a fresh sieve, matching or not
  std::size_t mismatched = 0;
  std::size_t notVerifiable = 0;
};

// What the merged result is known to lack; all 0 for a complete result.
struct Shortfall {
  std::size_t reportsUnread = 0;       // reports that could not be opened
  std::size_t joinsBroken = 0;         // mid gaps below 1 or above the histogram
  std::size_t reportsNotAddingUp = 0;  // gap tables that do not sum to nGaps
  bool joinInRangeOrder = false;       // the broken joins would join in range order
};

struct RunOutcome {
  std::string directory;  // the working directory, ending with "/"
  std::optional<BoundRange>
      range;  // lowest lower and highest upper name bound; none without reports
  std::size_t reports = 0;
  ReportOrder order = ReportOrder::path;
  std::string lastReportName;  // "" without reports
  Histogram histogram{};
  std::int64_t gapTotal = 0;  // the sum of the histogram's counters
  std::array<std::int64_t, 3> residueTotals{};
  std::vector<WarningEntry> warnings;  // in run order
  MergedFileStatus mergedFile;
  std::optional<Coverage> coverage;               // of the report names, when it was asked for
  std::optional<VerificationTally> verification;  // when it was asked for
  std::vector<UnlistedFolder> unlistedFolders;    // nothing was merged from them
  std::size_t linksNotFollowed = 0;               // links to folders passed over
  Shortfall shortfall;
  bool published = true;  // every export asked for was written
};

}  // namespace gapmerge
