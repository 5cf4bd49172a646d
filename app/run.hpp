#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/result_view.hpp"
#include "merge/discovery.hpp"
#include "outcome/run_outcome.hpp"
#include "verify/verification.hpp"

// One merge run in the working directory, from the reports found to the
// outcome and the result view.
namespace gapmerge {

// How far a run has come.
struct RunProgress {
  std::size_t reportsMerged = 0;
  std::size_t reportsTotal = 0;
  std::uint64_t bytesWritten = 0;  // of fileout.txt
  VerifyProgress verify;           // all 0 without verification
  bool done = false;               // the last call of a run
};

struct RunOptions {
  std::string directory;    // the working directory, ending with "/"
  bool rangeOrder = false;  // order reports by the lower bound in their names first
  unsigned threads = 1;     // threads that format fileout.txt
  // The primes of the names' range are counted up to this bound; 0: never.
  std::uint64_t countLimit = defaultCountLimit;
  std::optional<VerifyOptions> verify;
  // Called after every report and once when the run is done.
  std::function<void(const RunProgress&)> progress;
};

// Merges the reports found below options.directory into its fileout.txt.
RunOutcome mergeReports(const RunOptions& options, Discovery found);

// Writes what the user asked for beyond fileout.txt (exports, a chart) from
// the outcome; false when any of it could not be written.
using Publish = std::function<bool(const RunOutcome&)>;

// Says what the run found beyond its view: the lines on standard error.
using Tell = std::function<void(const RunOutcome&)>;

// Opens the view, merges, publishes the outcome and tells it, then asks (only
// when fileout.txt is complete), shows and waits; none when the view could not
// be opened, and then nothing was touched.
std::optional<RunOutcome> runMerge(ResultView& view, const RunOptions& options, Discovery found,
                                   const Publish& publish = {}, const Tell& tell = {});

}  // namespace gapmerge
