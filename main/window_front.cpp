#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "main/front_end.hpp"
#include "ui/chart_file.hpp"
#include "ui/desktop_session.hpp"
#include "ui/folder_chooser.hpp"
#include "ui/window_view.hpp"

namespace gapmerge {

namespace {

// Descriptors that Qt and GLib open as they start (wake-up pipes, fonts,
// plugins): without them GLib ends the process instead of failing.
constexpr int descriptorsToDraw = 8;

// Why the chart cannot be drawn for lack of descriptors; none when enough are
// free.
std::optional<std::string> lackOfDescriptors() {
  std::array<int, descriptorsToDraw> probes{};
  probes.fill(-1);
  int error = 0;
  for (int& probe : probes) {
    probe = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (probe < 0) {
      error = errno;
      break;
    }
  }
  for (const int probe : probes) {
    if (probe >= 0) {
      ::close(probe);
    }
  }
  if (error == 0) {
    return std::nullopt;
  }
  return std::string("the chart cannot be drawn: ") + std::strerror(error);
}

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
    if (auto failure = lackOfDescriptors()) {
      return DrawnChart{.bytes = std::nullopt, .failure = std::move(*failure)};
    }
    return DrawnChart{.bytes = drawGapChartFile(outcome, format, size.width, size.height)};
  };
}

}  // namespace gapmerge
