#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "merge/checks.hpp"
#include "merge/coverage.hpp"
#include "merge/discovery.hpp"
#include "merge/gap_model.hpp"
#include "merge/gap_stats.hpp"
#include "merge/published_counts.hpp"
#include "verify/report_comparison.hpp"
#include "verify/verification.hpp"

// What one merge run found, as plain data, computed once: fileout.txt's
// closing sections, the result window, the batch text, the lines on standard
// error, the exports and the exit status are all made from it.
namespace gapmerge {

enum class ReportOrder { path, range };

// The warnings of a run besides the failed checks of a report.
struct ReportUnopened {};
// The join of a report to the one before it in the chain of slices (empty
// slices and repeats are passed over) is broken.
struct SlicesDoNotJoin {
  std::int64_t midGap = 0;     // from the previous report's last prime to this first prime
  std::string previousReport;  // the name of the report the join starts from
  // The primes strictly between the two primes, which no report holds; 0
  // when the mid gap itself shows the break (below 1 or above the histogram).
  std::int64_t primesLeftOut = 0;
  std::int64_t previousLastPrime = 0;
  std::int64_t firstPrime = 0;
};
// The report's name gives the range of a report merged before it; nothing of
// it is merged.
struct ReportRepeats {
  std::string first;     // the name of the report it repeats
  bool differs = false;  // and it says something else about that range
};
struct MergedFileNotCreated {
  std::string directory;
};
struct MergedFileIncomplete {
  std::string directory;
};
struct FolderUnlisted {
  std::string reason;  // the system's text for the error
};
struct ReportDiffers {
  Difference difference;  // the first one from a fresh sieve
};
struct ReportNotVerifiable {
  bool tooWide = false;  // wider than the limit, else not a range from 0 up
};

using Warning =
    std::variant<FailedCheck, ReportUnopened, SlicesDoNotJoin, ReportRepeats, MergedFileNotCreated,
                 MergedFileIncomplete, FolderUnlisted, ReportDiffers, ReportNotVerifiable>;

// The warnings about one subject: a report name, fileout.txt or a folder.
struct WarningEntry {
  std::string subject;
  std::vector<Warning> warnings;  // in the order they were found
  // Where the entry stands: 0 before the reports, 1 + the run position of
  // its report, or the number of reports + 1 after them.
  std::size_t place = 0;
};

struct MergedFileStatus {
  std::string path;
  bool created = false;         // its temporary file was created for this run
  bool complete = false;        // every byte reached it and it replaced the previous file
  bool previousExists = false;  // a fileout.txt stood there before the run
  std::string problem;          // why it could not be created or written; "" when it was
};

// What the merged result is known to lack; all 0 for a complete result.
struct Shortfall {
  std::size_t reportsUnread = 0;  // reports that could not be opened
  // Mid gaps below 1 or above the histogram, and joins that pass over primes.
  std::size_t joinsBroken = 0;
  // Reports whose gap table does not sum to nGaps or does not span their
  // primes, that lack a key line or list sizes outside the histogram.
  std::size_t reportsNotAddingUp = 0;
  std::size_t repeatsDiffering = 0;  // repeated slices that differ from their first
  bool joinInRangeOrder = false;     // the broken joins would join in range order
};

// How the primes counted apart in the range of the names compare with the
// primes that the merged gaps join.
enum class PrimeCountState {
  counted,
  aboveLimit,  // the range reaches above --count-limit
  notARange,   // the bounds are not a range from 0 up
  failed,      // the counting library could not count it
};

// The primes of the names' range are counted when it ends at this bound at
// most (--count-limit): pi(10^14) takes about a third of a second.
constexpr std::uint64_t defaultCountLimit = 100'000'000'000'000;

struct PrimeCountCheck {
  BoundRange range;  // the lowest to the highest bound in the names
  PrimeCountState state = PrimeCountState::counted;
  std::int64_t primes = 0;  // in the range, when counted
  std::int64_t merged = 0;  // joined by the merged gaps
  std::uint64_t limit = 0;  // --count-limit
  std::string failure;      // why the library could not count, for PrimeCountState::failed
};

struct RunOutcome {
  std::string directory;  // the working directory, ending with "/"
  // The lowest lower and highest upper bound of the names; they keep their
  // starting values, 2^63 - 1 and 0, without reports.
  BoundRange bounds{.from = INT64_MAX, .to = 0};
  std::size_t reports = 0;
  ReportOrder order = ReportOrder::path;
  std::string lastReportName;  // "" without reports
  Histogram histogram{};
  StatsBlock finalBlock;               // its divisor is the histogram total
  std::int64_t runningTotal = 0;       // every gap counted, in the histogram or not
  std::vector<WarningEntry> warnings;  // in their final order
  std::size_t reportsMerged = 0;       // opened and not a repeat
  // The primes the merged gaps join: the histogram total + 1 once a merged
  // report gave a first prime or the histogram holds a gap, else 0.
  std::int64_t primesMerged = 0;
  std::size_t estimateWarnings = 0;  // reports whose prime count is far from the estimate
  MergedFileStatus mergedFile;
  Coverage coverage;                              // of the report names
  std::optional<VerificationTally> verification;  // when it was asked for
  std::vector<UnlistedFolder> unlistedFolders;    // nothing was merged from them
  std::size_t linksNotFollowed = 0;               // links to folders passed over
  Shortfall shortfall;
  // What the model expects of the range of the names (all 0 without reports),
  // and, when the names tile 1 to a power of ten, the published counts.
  ExpectedCounts expected{};
  std::optional<PublishedComparison> published;
  // None without a report or with --count-limit 0.
  std::optional<PrimeCountCheck> primeCount;
  bool exportsWritten = true;  // every export asked for was written
};

// The range of the report names; none without reports.
inline std::optional<BoundRange> nameRange(const RunOutcome& outcome) {
  return outcome.reports == 0 ? std::nullopt : std::optional(outcome.bounds);
}

// True when the merged result is known to lack something: no report, a
// report or a folder not read, slices that do not join, a report that does not
// add up, a repeated slice that differs from its first.
bool isIncomplete(const RunOutcome& outcome);

// True when the primes were counted and the merged gaps join another number.
bool primeCountDiffers(const RunOutcome& outcome);

// 1 when a file could not be written, 3 when the result is incomplete, differs
// from the published counts or from the primes of its range, or a check found
// a problem, 0 otherwise.
int exitStatusOf(const RunOutcome& outcome);

constexpr int exitDone = 0;        // complete, and every file written
constexpr int exitFailed = 1;      // a file could not be written, or no window
constexpr int exitUsage = 2;       // a usage error
constexpr int exitIncomplete = 3;  // merged but incomplete or doubtful, or a check failed

}  // namespace gapmerge
