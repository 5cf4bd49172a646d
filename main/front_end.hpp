#pragma once

#include <memory>
#include <string>

#include "app/command_line.hpp"
#include "app/publish.hpp"
#include "app/result_view.hpp"

// The parts of the program that need a window system. A build with Qt links
// window_front.cpp; a build without it links no_window_front.cpp, which has
// no window front at all.
namespace gapmerge {

enum class FolderAnswer { chosen, cancelled, noDisplay };

struct FolderChoice {
  FolderAnswer answer = FolderAnswer::cancelled;
  std::string folder;  // the chosen folder
};

// The windows of one process. Qt starts at most once, when the first window
// is needed and a display answers; the folder dialog and the result window
// share it, and it ends with this object.
class WindowFront {
 public:
  WindowFront() = default;
  WindowFront(const WindowFront&) = delete;
  WindowFront& operator=(const WindowFront&) = delete;
  WindowFront(WindowFront&&) = delete;
  WindowFront& operator=(WindowFront&&) = delete;
  virtual ~WindowFront() = default;

  // Asks for the folder to merge in, in a dialog that opens at startFolder
  // (when given) or at the folder chosen last.
  virtual FolderChoice chooseFolder(const std::string& startFolder) = 0;
  // The result window; it must go before this object.
  virtual std::unique_ptr<ResultView> makeWindowView() = 0;
};

// The window front; none when this build has no window.
std::unique_ptr<WindowFront> makeWindowFront(char* programName);

// Draws the gap chart for --plot FILE (.png or .svg) at size, with or without
// a display; none when this build has no window.
ChartDrawer makeChartDrawer(const std::string& plotFile, PlotSize size);

}  // namespace gapmerge
