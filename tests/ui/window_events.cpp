#include "tests/ui/window_events.hpp"

#include <QWidget>
#include <QWindow>

namespace gapmerge::test {

// QWindow::close goes through the platform window, like the close button.
void requestClose(QWidget& window) {
  window.windowHandle()->close();
}

}  // namespace gapmerge::test
