#include "app/console_view.hpp"

#include "app/result_text.hpp"

namespace gapmerge {

// The text as the window shows it, with a final LF when it lacks one.
void ConsoleView::fill(const RunOutcome& outcome) {
  if (out_ == nullptr) {
    return;
  }
  const std::string text = resultText(outcome);
  *out_ << text;
  if (!text.ends_with('\n')) {
    *out_ << '\n';
  }
  *out_ << std::flush;
}

}  // namespace gapmerge
