#pragma once

#include <functional>
#include <string>

#include "app/result_view.hpp"
#include "merge/run_outcome.hpp"

// One merge run in the working directory, from discovery to the result view.
namespace gapmerge {

enum class RunStatus {
  merged,            // fileout.txt written completely
  mergedFileFailed,  // fileout.txt could not be created or written completely
  publishFailed,     // an export the user asked for could not be written
  viewUnavailable,   // the view could not be opened: nothing was touched
};

struct RunOptions {
  std::string directory;      // the working directory, ending with "/"
  bool rangeOrder = false;    // order reports by the lower bound in their names first
  bool withCoverage = false;  // fill the outcome's coverage of the report names
};

// Merges every report below options.directory into its fileout.txt.
RunOutcome mergeReports(const RunOptions& options);

// Writes what the user asked for beyond fileout.txt (exports, a chart) from
// the outcome; false when any of it could not be written.
using Publish = std::function<bool(const RunOutcome&)>;

// Opens the view, merges, publishes the outcome, then asks, shows and waits.
RunStatus runMerge(ResultView& view, const RunOptions& options, const Publish& publish = {});

}  // namespace gapmerge
