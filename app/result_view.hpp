#pragma once

#include <optional>
#include <string>

#include "outcome/run_outcome.hpp"

// Where a run shows its outcome: the result window, or standard output in
// batch mode (the console view). The run calls open first and, if that succeeded, askOpen (only
// when fileout.txt was written completely), fill and wait, in this order.
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

// The batch view: no window and no question; the result text goes to
// standard output, or nowhere when an export holds standard output.
class ConsoleView final : public ResultView {
 public:
  explicit ConsoleView(bool print) : print_(print) {}
  bool open() override { return true; }
  void askOpen(const std::string& /*mergedFilePath*/,
               const std::string& /*workingDirectory*/) override {}
  void fill(const RunOutcome& outcome) override;
  void wait() override {}

  // Why the text could not be written to standard output; none when it was.
  [[nodiscard]] const std::optional<std::string>& failure() const { return failure_; }

 private:
  bool print_;
  std::optional<std::string> failure_;
};

}  // namespace gapmerge
