#include "ui/result_window.hpp"

#include <QApplication>

#include "ui/desktop_hand_over.hpp"
#include "ui/display_check.hpp"
#include "ui/window_view.hpp"

namespace gapmerge {

namespace {

// Starts Qt only once a display is known to answer, then hands every call to
// a WindowView that opens files with the desktop.
class DesktopResultView final : public ResultView {
 public:
  DesktopResultView(int& argc, char** argv) : argc_(argc), argv_(argv) {}

  bool open() override {
    if (!displayAvailable()) {
      return false;
    }
    application_ = std::make_unique<QApplication>(argc_, argv_);
    view_ = std::make_unique<WindowView>(openWithDesktop);
    return view_->open();
  }
  void askOpen(const std::string& mergedFilePath, const std::string& workingDirectory) override {
    view_->askOpen(mergedFilePath, workingDirectory);
  }
  void fill(const ViewText& text) override { view_->fill(text); }
  void wait() override { view_->wait(); }

 private:
  int& argc_;
  char** argv_;
  std::unique_ptr<QApplication> application_;  // declared first: outlives the view
  std::unique_ptr<WindowView> view_;
};

}  // namespace

std::unique_ptr<ResultView> makeResultWindow(int& argc, char** argv) {
  return std::make_unique<DesktopResultView>(argc, argv);
}

}  // namespace gapmerge
