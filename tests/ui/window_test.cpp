// The result window and its open question, on Qt's offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/scratch_dir.hpp"
#include "ui/folder_chooser.hpp"
#include "ui/main_window.hpp"
#include "ui/placement.hpp"
#include "ui/window_view.hpp"

namespace gapmerge::test {
namespace {

using HandOverCall = std::pair<std::string, std::string>;

// Answers the question box or folder dialog that the next call shows.
template <typename Modal>
void answerNext(const std::function<void(Modal&)>& answer) {
  QTimer::singleShot(0, [answer] {
    auto* modal = qobject_cast<Modal*>(QApplication::activeModalWidget());
    ASSERT_NE(modal, nullptr) << "nothing to answer is shown";
    answer(*modal);
  });
}

// An opened window whose hand-overs to the desktop are only recorded.
class Window : public ::testing::Test {
 protected:
  Window()
      : view([this](const std::string& file, const std::string& folder) {
          handOvers.emplace_back(file, folder);
        }) {
    view.open();
  }

  ResultMainWindow& window() { return *view.window(); }

  void activate() {
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  }

  // Runs action once the wait has started; a wait that never ends fails by
  // the test's time limit.
  void waitAfter(const std::function<void()>& action) {
    QTimer::singleShot(0, &window(), action);
    view.wait();
  }

  // Asks the question and gives the shown box to answer.
  void askAndAnswer(const std::function<void(QMessageBox&)>& answer) {
    answerNext(answer);
    view.askOpen("/data/run/fileout.txt", "/data/run/");
  }

  std::vector<HandOverCall> handOvers;
  WindowView view;
};

TEST(FolderChooser, givesTheChosenFolderAndOpensThereNextTime) {
  const ScratchDir chosen;
  const QString folder = QString::fromStdString(chosen.path().string());
  answerNext<QFileDialog>([&folder](QFileDialog& dialog) {
    dialog.setDirectory(folder);
    static_cast<QDialog&>(dialog).accept();
  });
  EXPECT_EQ(chooseFolder({}), chosen.path().string());
  answerNext<QFileDialog>([&folder](QFileDialog& dialog) {
    EXPECT_EQ(dialog.directory().absolutePath(), folder);
    dialog.reject();
  });
  EXPECT_EQ(chooseFolder("/no/such/folder"), std::nullopt);
}

TEST(CentredPosition, centresOrStartsAtTheScreenEdge) {
  EXPECT_EQ(centredPosition(QRect(1920, 100, 1025, 769), QSize(800, 600)), QPoint(2032, 184));
  EXPECT_EQ(centredPosition(QRect(0, 0, 640, 768), QSize(800, 600)), QPoint(0, 84));
}

TEST_F(Window, opensCentredWithItsTitleSizeAndAnEmptyStatusBar) {
  EXPECT_TRUE(window().isVisible());
  EXPECT_EQ(window().windowTitle(), QStringLiteral("Primes gaps"));
  EXPECT_EQ(window().size(), QSize(800, 600));
  EXPECT_EQ(window().frameGeometry().topLeft(),
            centredPosition(QGuiApplication::primaryScreen()->geometry(),
                            window().frameGeometry().size()));
  EXPECT_TRUE(window().statusBar()->isVisible());
  EXPECT_TRUE(window().statusBar()->currentMessage().isEmpty());
  EXPECT_TRUE(window().textView()->toPlainText().isEmpty());
  const QTextEdit& text = *window().textView();
  EXPECT_EQ(text.tabStopDistance(), 8 * QFontMetricsF(text.font()).horizontalAdvance(' '));
}

TEST_F(Window, showsTheResultTextWithoutCarriageReturns) {
  RunOutcome outcome;
  outcome.directory = "/data/run/";
  outcome.lastReportName = "r 1 to 30 x.txt";
  outcome.warnings = {{"r 1 to 30 x.txt", {"Wrong nPrimes", "Wrong nGaps"}}};
  view.fill(outcome);
  const QString shown = window().textView()->toPlainText();
  EXPECT_TRUE(shown.startsWith("\nGaps [gap, qty]\n\n\n\nNormalized gaps"));
  EXPECT_TRUE(
      shown.endsWith("\n\nnGaps : 0\nFileName : r 1 to 30 x.txt\n"
                     "OutputDirectory : /data/run/\n"
                     "r 1 to 30 x.txt : Wrong nPrimes\nWrong nGaps\n\n"));
}

TEST_F(Window, waitEndsOnEscapeAndOnACloseRequestAndTheWindowStays) {
  activate();
  waitAfter([this] { QTest::keyClick(window().textView(), Qt::Key_Escape); });
  // QWindow::close goes through the platform window, like the close button.
  waitAfter([this] { window().windowHandle()->close(); });
  EXPECT_TRUE(window().isVisible());
}

QWidget* visibleWindowTitled(const QString& title) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == title) {
      return widget;
    }
  }
  return nullptr;
}

TEST_F(Window, ctrlGOpensTheGapChartAndEscapeClosesItAlone) {
  RunOutcome outcome;
  outcome.range = BoundRange{1, 30};
  outcome.histogram[2] = 4;
  outcome.gapTotal = 4;
  view.fill(outcome);
  activate();
  QTest::keyClick(window().textView(), Qt::Key_G, Qt::ControlModifier);
  QWidget* chart = visibleWindowTitled(QStringLiteral("Gap distribution"));
  ASSERT_NE(chart, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowActive(chart));
  QTest::keyClick(chart, Qt::Key_Escape);
  EXPECT_FALSE(chart->isVisible());
  EXPECT_TRUE(window().isVisible());
  EXPECT_FALSE(view.quitRequested());
}

// Escape answers Cancel without ending the program; only Yes hands the file over.
TEST_F(Window, handsTheFileOverOnYesOnly) {
  activate();
  askAndAnswer([](QMessageBox& box) {
    EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
    QTest::keyClick(&box, Qt::Key_Escape);
  });
  EXPECT_FALSE(view.quitRequested());
  for (const auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
    askAndAnswer(
        [button](QMessageBox& box) { QTest::mouseClick(box.button(button), Qt::LeftButton); });
  }
  EXPECT_EQ(handOvers, (std::vector<HandOverCall>{{"/data/run/fileout.txt", "/data/run/"}}));
  EXPECT_TRUE(window().isVisible());
}

}  // namespace
}  // namespace gapmerge::test

// One application on the offscreen platform for all tests, gone before the
// program's exit handlers run.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
