#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTextEdit>

#include "tests/ui/window_fixture.hpp"
#include "ui/main_window.hpp"
#include "ui/placement.hpp"

namespace gapmerge::test {
namespace {

using ResultWindow = WindowFixture;

// Where a child widget lies in the window's client area.
QRect placeInWindow(const QWidget& child, const QWidget& window) {
  return {child.mapTo(&window, QPoint(0, 0)), child.size()};
}

void expectViewInTopLeftCorner(const ResultMainWindow& window) {
  EXPECT_EQ(placeInWindow(*window.textView(), window), QRect(0, 0, 800, 600));
}

void expectStatusBarAlongBottom(ResultMainWindow& window) {
  const QRect bar = placeInWindow(*window.statusBar(), window);
  EXPECT_EQ(bar.left(), 0);
  EXPECT_EQ(bar.width(), window.width());
  EXPECT_EQ(bar.bottom(), window.height() - 1);
}

TEST_F(ResultWindow, isVisibleWithItsTitle) {
  ResultMainWindow& window = *view.window();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Primes gaps"));
  EXPECT_FALSE(window.isMinimized());
  EXPECT_FALSE(window.isMaximized());
}

TEST_F(ResultWindow, hasAFrameThatCanBeSizedMinimizedAndMaximized) {
  const Qt::WindowFlags flags = view.window()->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::MSWindowsFixedSizeDialogHint));
  EXPECT_EQ(view.window()->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

TEST_F(ResultWindow, hasAClientAreaOf800By600) {
  EXPECT_EQ(view.window()->size(), QSize(800, 600));
}

TEST_F(ResultWindow, isCentredOnThePrimaryScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const ResultMainWindow& window = *view.window();
  EXPECT_EQ(window.frameGeometry().topLeft(),
            centredPosition(screen, window.frameGeometry().size()));
}

TEST_F(ResultWindow, usesTheDialogBackground) {
  const QWidget& area = *view.window()->centralWidget();
  EXPECT_EQ(area.backgroundRole(), QPalette::Window);
  EXPECT_EQ(area.palette().color(QPalette::Window),
            QApplication::palette().color(QPalette::Window));
}

TEST_F(ResultWindow, startsWithAnEmptyEditableTextView) {
  const QTextEdit& text = *view.window()->textView();
  EXPECT_TRUE(text.toPlainText().isEmpty());
  EXPECT_FALSE(text.isReadOnly());
  EXPECT_TRUE(text.acceptRichText());
  EXPECT_EQ(text.lineWrapMode(), QTextEdit::NoWrap);
  EXPECT_EQ(text.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(text.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(text.document()->maximumBlockCount(), 0);
  expectViewInTopLeftCorner(*view.window());
}

TEST_F(ResultWindow, hasAnEmptyStatusBarAlongTheBottom) {
  ResultMainWindow& window = *view.window();
  EXPECT_TRUE(window.statusBar()->isVisible());
  EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
  expectStatusBarAlongBottom(window);
}

TEST_F(ResultWindow, showsNoStatusTipsInItsStatusBar) {
  QStatusTipEvent tip(QStringLiteral("a tip"));
  QApplication::sendEvent(view.window(), &tip);
  EXPECT_TRUE(view.window()->statusBar()->currentMessage().isEmpty());
}

TEST_F(ResultWindow, keepsTheTextViewWhenEnlargedWhileTheStatusBarFollows) {
  ResultMainWindow& window = *view.window();
  window.resize(1200, 900);
  QApplication::processEvents();
  expectViewInTopLeftCorner(window);
  expectStatusBarAlongBottom(window);
}

TEST_F(ResultWindow, keepsTheTextViewWhenMaximized) {
  ResultMainWindow& window = *view.window();
  window.showMaximized();
  QApplication::processEvents();
  expectViewInTopLeftCorner(window);
  expectStatusBarAlongBottom(window);
}

TEST_F(ResultWindow, keepsTheTextViewWhenMadeSmaller) {
  ResultMainWindow& window = *view.window();
  window.resize(300, 200);
  QApplication::processEvents();
  expectViewInTopLeftCorner(window);
  expectStatusBarAlongBottom(window);
}

}  // namespace
}  // namespace gapmerge::test
