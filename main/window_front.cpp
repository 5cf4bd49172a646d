#include <iostream>

#include "main/front_end.hpp"
#include "ui/chart_file.hpp"
#include "ui/desktop_session.hpp"
#include "ui/folder_chooser.hpp"
#include "ui/window_view.hpp"

namespace gapmerge {

namespace {

class QtWindowFront final : public WindowFront {
 public:
  explicit QtWindowFront(char* programName) : session_(programName) {}

  FolderChoice chooseFolder(const std::string& startFolder) override {
    if (!session_.start()) {
      return {.answer = FolderAnswer::noDisplay, .folder = {}};
    }
    auto folder = gapmerge::chooseFolder(startFolder);
    if (!folder) {
      return {.answer = FolderAnswer::cancelled, .folder = {}};
    }
    return {.answer = FolderAnswer::chosen, .folder = std::move(*folder)};
  }
  std::unique_ptr<ResultView> makeWindowView() override {
    return std::make_unique<WindowView>(openWithDesktop, std::cerr, &session_);
  }

 private:
  DesktopSession session_;
};

}  // namespace

std::unique_ptr<WindowFront> makeWindowFront(char* programName) {
  return std::make_unique<QtWindowFront>(programName);
}

ChartDrawer makeChartDrawer(const std::string& plotFile, PlotSize size) {
  const auto format = chartFormatOf(plotFile).value_or(ChartFormat::png);
  return [format, size](const RunOutcome& outcome) {
    return drawGapChartFile(outcome, format, size.width, size.height);
  };
}

}  // namespace gapmerge
