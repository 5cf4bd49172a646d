#pragma once

#include <string>

#include "merge/run_outcome.hpp"

// Where a run shows its outcome: the result window, or standard output in
// batch mode. The run calls open first and, if that succeeded, askOpen (only
// when the merged results file was created), fill and wait, in this order.
namespace gapmerge {

class ResultView {
 public:
  ResultView() = default;
  ResultView(const ResultView&) = delete;
  ResultView& operator=(const ResultView&) = delete;
  ResultView(ResultView&&) = delete;
  ResultView& operator=(ResultView&&) = delete;
  virtual ~ResultView() = default;

  // Shows the (empty) view; false when it cannot be shown.
  virtual bool open() = 0;
  // Offers to open the merged results file with the desktop's application.
  virtual void askOpen(const std::string& mergedFilePath, const std::string& workingDirectory) = 0;
  // Shows the outcome of the run.
  virtual void fill(const RunOutcome& outcome) = 0;
  // Returns when the user is done with the view.
  virtual void wait() = 0;
};

}  // namespace gapmerge
