#include "main/front_end.hpp"

namespace gapmerge {

std::unique_ptr<WindowFront> makeWindowFront(char* /*programName*/) {
  return nullptr;
}

ChartDrawer makeChartDrawer(const std::string& /*plotFile*/, PlotSize /*size*/) {
  return {};
}

}  // namespace gapmerge
