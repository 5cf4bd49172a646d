#include "ui/desktop_session.hpp"

#include <QApplication>

#include "ui/display_check.hpp"

namespace gapmerge {

DesktopSession::DesktopSession(char* programName) : arguments_{programName, nullptr} {}

DesktopSession::~DesktopSession() = default;

// The program runs its own event loops and ends when the result window is
// done, not when the folder dialog, its first window, closes.
bool DesktopSession::start() {
  if (application_) {
    return true;
  }
  if (!displayAvailable()) {
    return false;
  }
  application_ = std::make_unique<QApplication>(argumentCount_, arguments_.data());
  QApplication::setQuitOnLastWindowClosed(false);
  return true;
}

}  // namespace gapmerge
