#pragma once

#include <memory>
#include <string>

#include "app/command_line.hpp"
#include "app/publish.hpp"
#include "app/result_view.hpp"

// The parts of the program that need a window system. A build with Qt links
// window_front.cpp; a build without it links no_window_front.cpp, whose
// functions say that there is no window.
namespace gapmerge {

// The result window; none when this build has no window.
std::unique_ptr<ResultView> makeWindowView(char* programName);

// Draws the gap chart for --plot FILE (.png or .svg) at size, with or without
// a display; none when this build has no window.
ChartDrawer makeChartDrawer(const std::string& plotFile, PlotSize size);

}  // namespace gapmerge
