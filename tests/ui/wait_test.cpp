#include <gtest/gtest.h>

#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "tests/ui/window_events.hpp"
#include "tests/ui/window_fixture.hpp"
#include "ui/main_window.hpp"

namespace gapmerge::test {
namespace {

// Ends a wait that nothing else ended, so a failing test does not hang.
class WaitGuard {
 public:
  explicit WaitGuard(ResultMainWindow& window) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &window, [this, &window] {
      fired_ = true;
      window.close();
    });
    timer_.start(5000);
  }
  [[nodiscard]] bool fired() const { return fired_; }

 private:
  QTimer timer_;
  bool fired_ = false;
};

class WaitingWindow : public WindowFixture {
 protected:
  // Runs action once the event loop runs, then waits for the user.
  void waitAfter(const std::function<void()>& action) {
    QTimer::singleShot(0, view.window(), action);
    view.wait();
  }
};

TEST_F(WaitingWindow, endsOnEscapeInTheWindow) {
  activateWindow();
  WaitGuard guard(*view.window());
  waitAfter([this] { QTest::keyClick(view.window(), Qt::Key_Escape); });
  EXPECT_FALSE(guard.fired());
  EXPECT_TRUE(view.window()->isVisible());
}

TEST_F(WaitingWindow, endsOnEscapeInTheTextView) {
  activateWindow();
  WaitGuard guard(*view.window());
  waitAfter([this] { QTest::keyClick(view.window()->textView(), Qt::Key_Escape); });
  EXPECT_FALSE(guard.fired());
}

TEST_F(WaitingWindow, endsOnACloseRequestAndKeepsTheWindow) {
  waitAfter([this] { requestClose(*view.window()); });
  EXPECT_TRUE(view.quitRequested());
  EXPECT_TRUE(view.window()->isVisible());
}

TEST_F(WaitingWindow, goesOnWhileTheUserTypes) {
  activateWindow();
  WaitGuard guard(*view.window());
  QTextEdit& text = *view.window()->textView();
  waitAfter([this, &text] {
    QTest::keyClicks(&text, "typed");
    QTest::keyClick(&text, Qt::Key_End);
    EXPECT_FALSE(view.quitRequested());
    QTest::keyClick(&text, Qt::Key_Escape);
  });
  EXPECT_FALSE(guard.fired());
  EXPECT_EQ(text.toPlainText(), "typed");
}

TEST_F(WaitingWindow, forgetsACloseRequestMadeBeforeTheWait) {
  view.window()->close();
  EXPECT_TRUE(view.quitRequested());
  WaitGuard guard(*view.window());
  waitAfter([this] {
    EXPECT_FALSE(view.quitRequested());
    view.window()->close();
  });
  EXPECT_FALSE(guard.fired());
}

}  // namespace
}  // namespace gapmerge::test
