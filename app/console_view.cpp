#include "app/console_view.hpp"

namespace gapmerge {

void ConsoleView::fill(const ViewText& text) {
  out_ << joinViewText(text) << '\n' << std::flush;
}

}  // namespace gapmerge
