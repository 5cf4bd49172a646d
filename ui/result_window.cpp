#include "ui/result_window.hpp"

#include <iostream>

#include "ui/desktop_hand_over.hpp"
#include "ui/window_view.hpp"

namespace gapmerge {

namespace {

// Starts Qt when the view opens, then hands every call to a WindowView that
// opens files with the desktop.
class DesktopResultView final : public ResultView {
 public:
  explicit DesktopResultView(DesktopSession& session) : session_(session) {}

  bool open() override {
    if (!session_.start()) {
      return false;
    }
    view_ = std::make_unique<WindowView>(openWithDesktop, std::cerr);
    return view_->open();
  }
  void askOpen(const std::string& mergedFilePath, const std::string& workingDirectory) override {
    view_->askOpen(mergedFilePath, workingDirectory);
  }
  void fill(const RunOutcome& outcome) override { view_->fill(outcome); }
  void wait() override { view_->wait(); }

 private:
  DesktopSession& session_;
  std::unique_ptr<WindowView> view_;
};

}  // namespace

std::unique_ptr<ResultView> makeResultWindow(DesktopSession& session) {
  return std::make_unique<DesktopResultView>(session);
}

}  // namespace gapmerge
