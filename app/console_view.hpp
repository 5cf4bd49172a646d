#pragma once

#include <ostream>

#include "app/result_view.hpp"

// The batch view: no window and no question; the result text goes to a
// stream, or nowhere when an export holds standard output.
namespace gapmerge {

class ConsoleView final : public ResultView {
 public:
  explicit ConsoleView(std::ostream* out) : out_(out) {}
  bool open() override { return true; }
  void askOpen(const std::string& /*mergedFilePath*/,
               const std::string& /*workingDirectory*/) override {}
  void fill(const RunOutcome& outcome) override;
  void wait() override {}

 private:
  std::ostream* out_;
};

}  // namespace gapmerge
