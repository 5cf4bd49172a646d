#pragma once

#include <ostream>

#include "app/result_view.hpp"

// The batch view: no window and no question; the result text goes to a stream
// with every line ending in LF.
namespace gapmerge {

class ConsoleView final : public ResultView {
 public:
  explicit ConsoleView(std::ostream& out) : out_(out) {}
  bool open() override { return true; }
  void askOpen(const std::string& /*mergedFilePath*/,
               const std::string& /*workingDirectory*/) override {}
  void fill(const ViewText& text) override;
  void wait() override {}

 private:
  std::ostream& out_;
};

// The result text as the window shows it, line after line, each line ended by
// LF: CR LF and lone CR become LF, and the items are separated by a line break.
std::string consoleText(const ViewText& text);

}  // namespace gapmerge
