#pragma once

#include "app/result_view.hpp"

// One merge run in the working directory, from discovery to the result view.
namespace gapmerge {

enum class RunStatus {
  merged,            // fileout.txt written completely
  mergedFileFailed,  // fileout.txt could not be created or written completely
  viewUnavailable,   // the view could not be opened: nothing was touched
};

struct RunOptions {
  bool rangeOrder = false;  // order reports by the lower bound in their names first
};

RunStatus runMerge(ResultView& view, const RunOptions& options);

}  // namespace gapmerge
