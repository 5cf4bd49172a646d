#include "app/result_view.hpp"

#include <unistd.h>

#include "render/result_text.hpp"
#include "text/whole_file.hpp"

namespace gapmerge {

// The text as the window shows it; it ends with LF already.
void ConsoleView::fill(const RunOutcome& outcome) {
  if (print_) {
    failure_ = writeDescriptor(STDOUT_FILENO, resultText(outcome));
  }
}

}  // namespace gapmerge
