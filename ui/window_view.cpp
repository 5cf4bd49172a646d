#include "ui/window_view.hpp"

#include <QEventLoop>
#include <QMessageBox>
#include <QString>
#include <QTextCursor>
#include <QTextEdit>
#include <ostream>
#include <utility>

#include "outcome/run_outcome.hpp"
#include "render/result_text.hpp"
#include "render/standard_error.hpp"
#include "ui/chart_entry.hpp"
#include "ui/main_window.hpp"
#include "ui/open_question.hpp"

namespace gapmerge {

WindowView::WindowView(HandOver handOver, std::ostream& errors, DesktopSession* session)
    : handOver_(std::move(handOver)), errors_(errors), session_(session) {}

WindowView::~WindowView() = default;

bool WindowView::open() {
  if (session_ != nullptr && !session_->start()) {
    return false;
  }
  window_ = std::make_unique<ResultMainWindow>([this] { requestQuit(); });
  chartEntry_ = std::make_unique<ChartEntry>(*window_);
  window_->showCentred();
  return true;
}

void WindowView::askOpen(const std::string& mergedFilePath, const std::string& workingDirectory) {
  if (askToOpen(window_.get()) && !handOver_(mergedFilePath, workingDirectory)) {
    tellHandOverFailed(mergedFilePath);
  }
}

void WindowView::tellHandOverFailed(const std::string& mergedFilePath) {
  const std::string message =
      "could not hand " + mergedFilePath + " to the desktop: xdg-open could not be started";
  errors_ << "gapmerge: " << message << '\n' << std::flush;
  QMessageBox::warning(window_.get(), QStringLiteral("Open merged results file"),
                       QString::fromLocal8Bit(message));
}

// The view gets plain text with LF line ends: a CR would show as a glyph.
void WindowView::fill(const RunOutcome& outcome) {
  QTextEdit* view = window_->textView();
  view->setPlainText(QString::fromLocal8Bit(resultText(outcome)));
  view->moveCursor(QTextCursor::Start);
  view->ensureCursorVisible();
  window_->showVerdict(QString::fromLocal8Bit(verdictText(outcome)), exitStatusOf(outcome) != 0);
  chartEntry_->setOutcome(outcome);
}

void WindowView::wait() {
  quitRequested_ = false;
  QEventLoop loop;
  loop_ = &loop;
  while (!quitRequested_) {
    loop.exec(QEventLoop::AllEvents);
  }
  loop_ = nullptr;
}

void WindowView::requestQuit() {
  quitRequested_ = true;
  if (loop_ != nullptr) {
    loop_->quit();
  }
}

}  // namespace gapmerge
