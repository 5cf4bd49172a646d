#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <string>

#include "tests/ui/window_fixture.hpp"
#include "ui/main_window.hpp"

namespace gapmerge::test {
namespace {

using FilledWindow = WindowFixture;

ViewText resultText(std::string reportName, std::string warnings) {
  return {.summary = "Lowest nmin : 1\r\nHighest nmax : 30\r\nTotal gaps : 9\r\n",
          .fileItem = "FileName : " + reportName + "\r\nOutputDirectory : /data/run/",
          .warnings = std::move(warnings)};
}

QString viewText(const WindowView& view) {
  return view.window()->textView()->toPlainText();
}

TEST_F(FilledWindow, showsTheSummaryTheFileItemAndTheWarnings) {
  view.fill(resultText("Tramvelok 1 to 30 x.txt",
                       "Tramvelok 1 to 30 x.txt : Wrong nPrimes\nWrong nGaps\n\r\n"));
  EXPECT_EQ(viewText(view),
            "Lowest nmin : 1\n"
            "Highest nmax : 30\n"
            "Total gaps : 9\n"
            "\n"
            "FileName : Tramvelok 1 to 30 x.txt\n"
            "OutputDirectory : /data/run/\n"
            "Tramvelok 1 to 30 x.txt : Wrong nPrimes\n"
            "Wrong nGaps\n"
            "\n");
}

TEST_F(FilledWindow, endsWithAnEmptyLineWithoutWarnings) {
  view.fill(resultText("Tramvelok 1 to 30 x.txt", ""));
  EXPECT_TRUE(viewText(view).endsWith("OutputDirectory : /data/run/\n"));
  EXPECT_TRUE(view.window()->textView()->document()->lastBlock().text().isEmpty());
}

TEST_F(FilledWindow, showsTheFileNameAloneWithoutReports) {
  view.fill(resultText("", ""));
  EXPECT_TRUE(viewText(view).contains("\nFileName : \nOutputDirectory : /data/run/\n"));
}

TEST_F(FilledWindow, showsNoCarriageReturns) {
  view.fill({.summary = "a\r\nb\rc\n",
             .fileItem = "FileName : r\r\nOutputDirectory : /d/",
             .warnings = "r : w\n\r\n"});
  EXPECT_FALSE(viewText(view).contains(QChar('\r')));
  EXPECT_EQ(viewText(view), "a\nb\nc\n\nFileName : r\nOutputDirectory : /d/\nr : w\n\n");
}

TEST_F(FilledWindow, showsTheBeginningOfALongText) {
  std::string summary;
  for (int line = 0; line < 2000; ++line) {
    summary += "line " + std::to_string(line) + " of a long summary\r\n";
  }
  view.fill({.summary = summary, .fileItem = "FileName : r", .warnings = ""});
  const QTextEdit& text = *view.window()->textView();
  EXPECT_EQ(text.document()->blockCount(), 2003);
  EXPECT_EQ(text.textCursor().position(), 0);
  EXPECT_EQ(text.verticalScrollBar()->value(), 0);
  EXPECT_EQ(text.horizontalScrollBar()->value(), 0);
}

TEST_F(FilledWindow, keepsFileNamesThatAreNotAscii) {
  view.fill(resultText("Tramvelok 1 to 30 \xc3\xa9t\xc3\xa9.txt", ""));
  EXPECT_TRUE(viewText(view).contains(QString::fromUtf8("FileName : Tramvelok 1 to 30 été.txt")));
}

}  // namespace
}  // namespace gapmerge::test
