#pragma once

#include <optional>
#include <string>

#include "app/result_view.hpp"

// The batch view: no window and no question; the result text goes to
// standard output, or nowhere when an export holds standard output.
namespace gapmerge {

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
