#include "main/front_end.hpp"
#include "ui/chart_file.hpp"
#include "ui/result_window.hpp"

namespace gapmerge {

std::unique_ptr<ResultView> makeWindowView(char* programName) {
  return makeResultWindow(programName);
}

ChartDrawer makeChartDrawer(const std::string& plotFile, PlotSize size) {
  const auto format = plotFile.ends_with(".svg") ? ChartFormat::svg : ChartFormat::png;
  return [format, size](const RunOutcome& outcome) {
    return drawGapChartFile(outcome, format, size.width, size.height);
  };
}

}  // namespace gapmerge
