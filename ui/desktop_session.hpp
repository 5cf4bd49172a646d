#pragma once

#include <array>
#include <memory>

class QApplication;

// Qt for the whole process. It is started at most once, by the first window
// that needs it, and only after a display was found: Qt ends the process when
// its platform cannot start. The folder dialog and the result window share it.
namespace gapmerge {

// Whether the Qt platform that the environment selects can start. Qt ends the
// process when its platform plugin is missing or fails, so this is decided
// before any Qt object is made, from the environment, the plugin files where Qt
// would load them and a trial connection to the display.
bool displayAvailable();

class DesktopSession {
 public:
  explicit DesktopSession(char* programName);
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;
  DesktopSession(DesktopSession&&) = delete;
  DesktopSession& operator=(DesktopSession&&) = delete;

  // Starts Qt unless it runs already; false when no display answers.
  bool start();

 private:
  // Qt sees the program name only: the command line was read already, and a
  // folder named like a Qt option must not reach Qt.
  int argumentCount_ = 1;
  std::array<char*, 2> arguments_;
  std::unique_ptr<QApplication> application_;
};

}  // namespace gapmerge
