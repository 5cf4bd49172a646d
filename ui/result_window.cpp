#include "ui/result_window.hpp"

#include <QApplication>
#include <array>

#include "ui/desktop_hand_over.hpp"
#include "ui/display_check.hpp"
#include "ui/window_view.hpp"

namespace gapmerge {

namespace {

// Starts Qt only once a display is known to answer, then hands every call to
// a WindowView that opens files with the desktop.
class DesktopResultView final : public ResultView {
 public:
  explicit DesktopResultView(char* programName) : arguments_{programName, nullptr} {}

  bool open() override {
    if (!displayAvailable()) {
      return false;
    }
    application_ = std::make_unique<QApplication>(argumentCount_, arguments_.data());
    view_ = std::make_unique<WindowView>(openWithDesktop);
    return view_->open();
  }
  void askOpen(const std::string& mergedFilePath, const std::string& workingDirectory) override {
    view_->askOpen(mergedFilePath, workingDirectory);
  }
  void fill(const RunOutcome& outcome) override { view_->fill(outcome); }
  void wait() override { view_->wait(); }

 private:
  // Qt sees the program name only: the command line was read already, and a
  // folder named like a Qt option must not reach Qt.
  int argumentCount_ = 1;
  std::array<char*, 2> arguments_;
  std::unique_ptr<QApplication> application_;  // declared first: outlives the view
  std::unique_ptr<WindowView> view_;
};

}  // namespace

std::unique_ptr<ResultView> makeResultWindow(char* programName) {
  return std::make_unique<DesktopResultView>(programName);
}

}  // namespace gapmerge
