#include "app/console_view.hpp"

#include "app/result_text.hpp"

namespace gapmerge {

// The text as the window shows it; it ends with LF already.
void ConsoleView::fill(const RunOutcome& outcome) {
  if (out_ != nullptr) {
    *out_ << resultText(outcome) << std::flush;
  }
}

}  // namespace gapmerge
