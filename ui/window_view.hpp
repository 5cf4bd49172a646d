#pragma once

#include <iosfwd>
#include <memory>
#include <string>

#include "app/result_view.hpp"
#include "ui/desktop_hand_over.hpp"
#include "ui/desktop_session.hpp"

class QEventLoop;

// The result view on screen: the result window, the open question, the way to
// the gap chart and the wait for the user. It starts Qt in the session when
// it opens, so a run without a display never loads a platform plugin.
namespace gapmerge {

class ChartEntry;
class ResultMainWindow;

class WindowView final : public ResultView {
 public:
  // A file that cannot be handed over is told in a message box and on errors.
  // Without a session, Qt must run already; the session must outlive the view.
  WindowView(HandOver handOver, std::ostream& errors, DesktopSession* session = nullptr);
  ~WindowView() override;
  WindowView(const WindowView&) = delete;
  WindowView& operator=(const WindowView&) = delete;
  WindowView(WindowView&&) = delete;
  WindowView& operator=(WindowView&&) = delete;

  bool open() override;
  void askOpen(const std::string& mergedFilePath, const std::string& workingDirectory) override;
  void fill(const RunOutcome& outcome) override;
  void wait() override;

  // The window, once open() has made it.
  [[nodiscard]] ResultMainWindow* window() const { return window_.get(); }
  // Set by Escape in the window or a request to close it; wait() clears it
  // when it starts and returns once it is set.
  [[nodiscard]] bool quitRequested() const { return quitRequested_; }

 private:
  void requestQuit();

  void tellHandOverFailed(const std::string& mergedFilePath);

  HandOver handOver_;
  std::ostream& errors_;
  DesktopSession* session_;
  std::unique_ptr<ResultMainWindow> window_;
  std::unique_ptr<ChartEntry> chartEntry_;
  QEventLoop* loop_ = nullptr;
  bool quitRequested_ = false;
};

}  // namespace gapmerge
