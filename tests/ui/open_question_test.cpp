#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "tests/ui/qt_application.hpp"
#include "tests/ui/window_events.hpp"
#include "tests/ui/window_fixture.hpp"
#include "ui/main_window.hpp"
#include "ui/open_question.hpp"

namespace gapmerge::test {
namespace {

class OpenQuestionBox : public ::testing::Test {
 protected:
  OpenQuestionBox() { qtApplication(); }
};

int leftEdge(const QMessageBox& box, QMessageBox::StandardButton which) {
  return box.button(which)->mapTo(&box, QPoint(0, 0)).x();
}

TEST_F(OpenQuestionBox, asksWhetherToOpenTheResults) {
  const auto box = makeOpenQuestion(nullptr);
  EXPECT_EQ(box->windowTitle(), QStringLiteral("Open merged results file"));
  EXPECT_EQ(box->text(), QStringLiteral("Want to open results file ?"));
  EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
  EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
}

TEST_F(OpenQuestionBox, offersYesNoAndCancelInThatOrder) {
  const auto box = makeOpenQuestion(nullptr);
  EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box->buttons().size(), 3);
  box->show();
  EXPECT_LT(leftEdge(*box, QMessageBox::Yes), leftEdge(*box, QMessageBox::No));
  EXPECT_LT(leftEdge(*box, QMessageBox::No), leftEdge(*box, QMessageBox::Cancel));
}

TEST_F(OpenQuestionBox, answersYesByDefaultAndCancelOnEscape) {
  const auto box = makeOpenQuestion(nullptr);
  EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
  EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::Cancel));
}

// Answers the question box of the next askOpen once it is shown. If the
// answer leaves the box open, the box is cancelled after a while so that the
// test ends, and the test fails.
class QuestionAnswer {
 public:
  explicit QuestionAnswer(std::function<void(QMessageBox&)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr) << "no question box is shown";
      answer(*box);
    });
    guard_.setSingleShot(true);
    QObject::connect(&guard_, &QTimer::timeout, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        ADD_FAILURE() << "the question box stayed open";
        box->done(QMessageBox::Cancel);
      }
    });
    guard_.start(5000);
  }

 private:
  QTimer guard_;
};

void clickButton(QMessageBox& box, QMessageBox::StandardButton which) {
  QTest::mouseClick(box.button(which), Qt::LeftButton);
}

class QuestionOverWindow : public WindowFixture {
 protected:
  void askAndAnswer(const std::function<void(QMessageBox&)>& answer) {
    const QuestionAnswer answering(answer);
    view.askOpen("/data/run/fileout.txt", "/data/run/");
  }
};

TEST_F(QuestionOverWindow, handsTheFileToTheDesktopOnYes) {
  askAndAnswer([](QMessageBox& box) { clickButton(box, QMessageBox::Yes); });
  ASSERT_EQ(handOvers.size(), 1U);
  EXPECT_EQ(handOvers[0].file, "/data/run/fileout.txt");
  EXPECT_EQ(handOvers[0].folder, "/data/run/");
}

TEST_F(QuestionOverWindow, handsTheFileOverOnEnter) {
  askAndAnswer([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); });
  EXPECT_EQ(handOvers.size(), 1U);
}

TEST_F(QuestionOverWindow, keepsTheFileOnNo) {
  askAndAnswer([](QMessageBox& box) { clickButton(box, QMessageBox::No); });
  EXPECT_TRUE(handOvers.empty());
}

TEST_F(QuestionOverWindow, keepsTheFileOnCancel) {
  askAndAnswer([](QMessageBox& box) { clickButton(box, QMessageBox::Cancel); });
  EXPECT_TRUE(handOvers.empty());
}

TEST_F(QuestionOverWindow, keepsTheFileWhenTheBoxIsClosed) {
  askAndAnswer([](QMessageBox& box) { box.close(); });
  EXPECT_TRUE(handOvers.empty());
}

TEST_F(QuestionOverWindow, answersEscapeLikeCancelWithoutEndingTheProgram) {
  activateWindow();
  askAndAnswer([](QMessageBox& box) {
    EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
    QTest::keyClick(&box, Qt::Key_Escape);
  });
  EXPECT_TRUE(handOvers.empty());
  EXPECT_FALSE(view.quitRequested());
  EXPECT_TRUE(view.window()->isVisible());
}

TEST_F(QuestionOverWindow, blocksTheWindowWhileItIsShown) {
  askAndAnswer([this](QMessageBox& box) {
    EXPECT_EQ(box.parentWidget(), view.window());
    EXPECT_TRUE(QApplication::activeModalWidget() == &box);
    requestClose(*view.window());
    EXPECT_FALSE(view.quitRequested()) << "the window took a close request";
    clickButton(box, QMessageBox::No);
  });
  EXPECT_FALSE(view.quitRequested());
}

}  // namespace
}  // namespace gapmerge::test
