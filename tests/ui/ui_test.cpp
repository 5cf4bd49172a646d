// The result window, its question, the folder dialog and the gap chart window on
// Qt's offscreen platform; finding a display, and the whole program with and
// without one; the gap chart drawn without any.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QColor>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QValueAxis>
#include <QWindow>
#include <QXYSeries>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/run.hpp"
#include "merge/discovery.hpp"
#include "render/result_text.hpp"
#include "tests/support/program.hpp"
#include "tests/support/report_text.hpp"
#include "tests/support/scratch_dir.hpp"
#include "ui/desktop_hand_over.hpp"
#include "ui/desktop_session.hpp"
#include "ui/folder_chooser.hpp"
#include "ui/gap_chart.hpp"
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

// An opened window whose hand-overs to the desktop are only recorded; they
// succeed while handOverStarts.
class Window : public ::testing::Test {
 protected:
  Window()
      : view(
            [this](const std::string& file, const std::string& folder) {
              handOvers.emplace_back(file, folder);
              return handOverStarts;
            },
            errors) {
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
  bool handOverStarts = true;
  std::ostringstream errors;
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
  // The view covers the window above the status bar, also once it is enlarged.
  const QStatusBar& status = *window().statusBar();
  for (const QSize size : {QSize(800, 600), QSize(1000, 700)}) {
    window().resize(size);
    EXPECT_TRUE(QTest::qWaitFor([&] { return status.geometry().bottom() == size.height() - 1; }));
    EXPECT_EQ(QRect(text.mapTo(&window(), QPoint(0, 0)), text.size()),
              QRect(0, 0, size.width(), status.y()));
  }
}

TEST_F(Window, showsTheResultTextWithoutCarriageReturns) {
  RunOutcome outcome;
  outcome.directory = "/data/run/";
  outcome.lastReportName = "r 1 to 30\rx.txt";
  outcome.warnings = {
      {"r 1 to 30 x.txt", {ReportUnopened{}, SlicesDoNotJoin{-4, "r 1 to 20 x.txt", 0, 0, 0}}, 1}};
  view.fill(outcome);
  const QString shown = window().textView()->toPlainText();
  EXPECT_TRUE(shown.startsWith("\nGaps [gap, qty]\n\n\n\nNormalized gaps"));
  EXPECT_TRUE(
      shown.endsWith("\n\nnGaps : 0\nFileName : r 1 to 30\nx.txt\n"
                     "OutputDirectory : /data/run/\n"
                     "r 1 to 30 x.txt : Report could not be opened, nothing merged from r 1 to 30 "
                     "x.txt\nSlices do not join: mid gap -4 after r 1 to 20 x.txt\n\n"));
}

// The status bar after a real run of the examples (1 to 10^8, pi(10^8) =
// 5,761,455), and after a run that lost a report, in a warning colour.
TEST_F(Window, statusBarShowsTheVerdictInAWarningColourWhenTheResultIsDoubtful) {
  const ScratchDir dir;
  dir.copyExamples();
  RunOptions options;
  options.directory = dir.asWorkingDirectory();
  const QColor normal = window().statusBar()->palette().color(QPalette::WindowText);
  view.fill(mergeReports(options, findReports(options.directory)));
  EXPECT_EQ(window().statusBar()->currentMessage(),
            "Complete: 10 reports, 5.761.455 primes from 1 to 100.000.000, as many as there are");
  EXPECT_EQ(window().statusBar()->palette().color(QPalette::WindowText), normal);

  std::filesystem::remove(dir.path() / "Tramvelok 10.000.001 to 20.000.000 20261206120000.txt");
  view.fill(mergeReports(options, findReports(options.directory)));
  EXPECT_TRUE(window().statusBar()->currentMessage().startsWith(
      "Incomplete: 1 slice join is broken; the merged gaps join "));
  EXPECT_NE(window().statusBar()->palette().color(QPalette::WindowText), normal);
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

// On the 1024 x 768 screen the chart takes nine tenths of each side; it saves
// a JPEG under the name given, whatever its case.
TEST_F(Window, ctrlGOpensTheGapChartThatFitsTheScreenAndEscapeClosesItAlone) {
  const ScratchDir dir;
  RunOutcome outcome;
  outcome.directory = dir.path().string() + "/";
  outcome.reports = 1;
  outcome.bounds = BoundRange{1, 30};
  outcome.histogram[2] = 4;
  finalSeries(outcome.histogram, outcome.finalBlock);
  view.fill(outcome);
  activate();
  QTest::keyClick(window().textView(), Qt::Key_G, Qt::ControlModifier);
  QWidget* chart = visibleWindowTitled(QStringLiteral("Gap distribution"));
  ASSERT_NE(chart, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowActive(chart));
  EXPECT_EQ(chart->geometry(), QRect(51, 38, 921, 691));
  answerNext<QFileDialog>([](QFileDialog& dialog) {
    dialog.selectFile(QStringLiteral("x.JPG"));
    static_cast<QDialog&>(dialog).accept();
  });
  QTest::keyClick(chart, Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(readFile(dir.path() / "x.JPG").starts_with("\xFF\xD8\xFF"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  chart->activateWindow();
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
  EXPECT_EQ(errors.str(), "");
  // A hand-over that fails is told, with the place of the file.
  handOverStarts = false;
  const std::string told =
      "could not hand /data/run/fileout.txt to the desktop: xdg-open could not be started";
  askAndAnswer([&told](QMessageBox& box) {
    answerNext<QMessageBox>([&told](QMessageBox& warning) {
      EXPECT_EQ(warning.text().toStdString(), told);
      warning.accept();
    });
    QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
  });
  EXPECT_EQ(errors.str(), "gapmerge: " + told + "\n");
}

// xdg-open is started with the file, in the folder; without it, false.
TEST(OpenWithDesktop, startsXdgOpenInTheFolderOrFails) {
  const ScratchDir dir;
  std::filesystem::permissions(dir.write("bin/xdg-open", "#!/bin/sh\n: >\"$1\"\n"),
                               std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
  const std::string path = std::getenv("PATH");
  for (const bool installed : {false, true}) {
    ::setenv("PATH", (dir.path() / (installed ? "bin" : "none")).c_str(), 1);
    EXPECT_EQ(openWithDesktop("opened", dir.path().string()), installed);
  }
  ::setenv("PATH", path.c_str(), 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(dir.path() / "opened"); }));
}

constexpr const char* reportName = "Tramvelok 1 to 30 20261206120000.txt";
constexpr const char* report =
    "nmin = 1\nnmax = 30\nTramvelok - found 10 primes\nTramvelok - 10 primes in 0.001s\n"
    "Tramvelok - Total gaps : 9\n... good guess\n... excellent\nFirst prime in range : 2\n"
    "Last prime in range : 29\nGaps [gap, qty]\n[1, 1], [2, 4], [4, 3], [6, 1], \n";

// Sets the variables that select a display; nullptr unsets one.
void selectDisplay(const char* platform, const char* display, const char* wayland = nullptr,
                   const char* runtime = nullptr) {
  const char* const names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"};
  const char* const values[] = {platform, display, wayland, runtime};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    static_cast<void>(values[i] == nullptr ? ::unsetenv(names[i])
                                           : ::setenv(names[i], values[i], 1));
  }
}

TEST(DisplayCheck, findsThePlatformsThatCanStart) {
  const ScratchDir runtime;
  // A Wayland platform plugin, where Qt looks first.
  runtime.write("platforms/libqwayland-generic.so", "");
  ::setenv("QT_QPA_PLATFORM_PLUGIN_PATH", (runtime.path() / "platforms").c_str(), 1);
  const std::string socketPath = (runtime.path() / "wayland-0").string();
  // A listening socket, as a Wayland compositor offers one.
  const int compositor = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof(address.sun_path) - 1);
  ASSERT_EQ(
      ::bind(compositor, static_cast<sockaddr*>(static_cast<void*>(&address)), sizeof(address)), 0);
  ASSERT_EQ(::listen(compositor, 1), 0);
  struct Case {
    const char* platform;
    const char* display;  // no X server answers on :4711
    const char* wayland;
    bool available;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, false},
      {"offscreen", nullptr, nullptr, true},
      {"offscreen:fontengine=freetype", nullptr, nullptr, true},
      {"bogus", nullptr, nullptr, false},
      {"bogus;offscreen", nullptr, nullptr, true},
      {"xcb", ":4711", nullptr, false},
      {"xcb;offscreen", ":4711", nullptr, true},
      {"wayland;xcb", ":4711", nullptr, false},
      {nullptr, nullptr, "wayland-1", false},
      {nullptr, nullptr, "wayland-0", true},
      {nullptr, nullptr, socketPath.c_str(), true},
  };
  for (const auto& c : cases) {
    selectDisplay(c.platform, c.display, c.wayland, runtime.path().c_str());
    EXPECT_EQ(displayAvailable(), c.available)
        << (c.platform ? c.platform : "-") << " " << (c.wayland ? c.wayland : "-");
  }
  ::close(compositor);
  ::unsetenv("QT_QPA_PLATFORM_PLUGIN_PATH");
}

// No display, or a platform whose plugin is missing; the folder dialog too.
TEST(Program, endsWithOneLineAndWritesNothingWithoutADisplay) {
  const ScratchDir dir;
  dir.write(reportName, report);
  for (const char* platform : {static_cast<const char*>(nullptr), "bogus"}) {
    selectDisplay(platform, nullptr);
    for (const auto& arguments : std::vector<std::vector<std::string>>{{}, {"--choose-folder"}}) {
      const auto result = runGapmerge(arguments, dir.path().string());
      EXPECT_EQ(result.exitStatus, 1);
      EXPECT_EQ(result.out, "");
      EXPECT_TRUE(result.err.starts_with("gapmerge: no window could be opened")) << result.err;
      EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "fileout.txt"));
}

// On a fresh X server with a window manager, answer_and_close.sh answers the
// program's windows: started in the folder, or with the folder dialog answered
// or cancelled.
TEST(Program, mergesInTheFolderOrChoosesItOnAVirtualDisplay) {
  if (std::system("command -v Xvfb >/dev/null && command -v openbox >/dev/null") != 0) {
    GTEST_SKIP() << "Xvfb or openbox is not installed";
  }
  selectDisplay(nullptr, nullptr);
  for (const std::string how : {"run", "choose", "cancel"}) {
    const ScratchDir dir;
    dir.write(reportName, report);
    const std::string command = "timeout -k 5 300 '" + std::string(GAPMERGE_ANSWER_AND_CLOSE) +
                                "' " + how + " '" + GAPMERGE_EXE + "' '" + dir.path().string() +
                                "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << how << " " << status;
    const std::string merged = readFile(dir.path() / "fileout.txt");
    EXPECT_EQ(std::count(merged.begin(), merged.end(), '\n'), how == "cancel" ? 0 : 66) << how;
  }
}

// Points for every size that occurs, lines only from g to g + 6 of a class
// when both occur, and counts labelled at the powers of ten as the title
// groups numbers, each point at the height of its count.
TEST(GapChart, joinsOnlyNeighboursThatOccurAndLabelsCountsAsTheTitle) {
  RunOutcome outcome;
  const std::vector<std::pair<std::size_t, int>> occurring = {{1, 1},    {2, 4},  {4, 3},  {6, 1},
                                                              {8, 1000}, {10, 2}, {16, 5}, {28, 1}};
  for (const auto& [gap, count] : occurring) {
    outcome.histogram[gap] = count;
  }
  const auto chart = makeGapChart(outcome);
  std::set<std::vector<double>> lines;
  std::map<double, double> heights;  // by gap
  for (QAbstractSeries* series : chart->series()) {
    std::vector<double> gaps;
    for (const QPointF& point : qobject_cast<QXYSeries*>(series)->points()) {
      gaps.push_back(point.x());
      heights.emplace(point.x(), point.y());
    }
    if (series->type() == QAbstractSeries::SeriesTypeLine) {
      lines.insert(gaps);
    }
  }
  EXPECT_EQ(lines, (std::set<std::vector<double>>{{2, 8}, {4, 10, 16}}));
  EXPECT_EQ(heights.size(), 8U);
  auto* counts = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Vertical).front());
  ASSERT_NE(counts, nullptr);
  EXPECT_EQ(counts->categoriesLabels(), (QStringList{"1", "10", "100", "1.000", "10.000"}));
  EXPECT_DOUBLE_EQ(heights[8], counts->endValue(QStringLiteral("1.000")));

  // The ratio axis widens to hold 1000 / 320 and 1 / 5: from 0 to 3.5, with
  // at most 6 ticks 0.25, 0.5 or 1 apart, so to 4. The hover text gives both.
  outcome.expected[8] = 320;
  outcome.expected[28] = 5;
  outcome.finalBlock.divisor = 1017;
  const auto ratios = makeRatioChart(outcome);
  auto* ratioAxis = qobject_cast<QValueAxis*>(ratios->axes(Qt::Vertical).front());
  ASSERT_NE(ratioAxis, nullptr);
  EXPECT_EQ(std::pair(ratioAxis->min(), ratioAxis->max()), std::pair(0.0, 4.0));
  EXPECT_EQ(gapPointText(outcome, 8),
            "gap 8: 1.000 gaps, share 98.3284 %, expected 320.0, ratio 3.1250");
}

TEST(Plot, drawsAPngOfTheSizeAskedForAndAnSvgWithoutADisplay) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    ::unsetenv(name);
  }
  const ScratchDir dir;
  dir.write("Tramvelok 1 to 100 x.txt",
            sliceReport(1, 100, 2, "[1, 1], [2, 8], [4, 7], [6, 7], [8, 1], "));
  const auto png = runGapmerge({"--batch", "--quiet", "--plot", "g.png", "--plot-size", "640x360"},
                               dir.path().string());
  ASSERT_EQ(png.exitStatus, 0) << png.err;
  EXPECT_EQ(png.err,
            "gapmerge: the merged gaps join 25 primes from 1 to 100, as many as there are\n");
  const QImage image(QString::fromStdString((dir.path() / "g.png").string()));
  ASSERT_EQ(image.size(), QSize(640, 360));
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      colours.insert(image.pixel(x, y));
    }
  }
  EXPECT_GT(colours.size(), 20U) << "a blank or nearly blank image";

  const auto svg = runGapmerge({"--batch", "--plot", "g.svg"}, dir.path().string());
  ASSERT_EQ(svg.exitStatus, 0) << svg.err;
  const std::string drawing = readFile(dir.path() / "g.svg");
  EXPECT_NE(drawing.find("<svg"), std::string::npos);
  EXPECT_NE(drawing.find("viewBox=\"0 0 1200 800\""), std::string::npos);
  EXPECT_NE(drawing.find("Gaps between consecutive primes, 1 to 100: 24 gaps"), std::string::npos);

  // Too few descriptors left for Qt to start: the chart is not written, and
  // that is said as the export's error (not under the sanitizers, whose
  // runtime needs descriptors of its own).
  if (std::getenv("ASAN_OPTIONS") != nullptr) {
    return;
  }
  const auto starved = runProgram(
      "/bin/sh", {"-c", "ulimit -n 6; exec \"$0\" --batch --quiet --plot s.png", GAPMERGE_EXE},
      dir.path().string());
  EXPECT_EQ(starved.exitStatus, 1);
  EXPECT_NE(starved.err.find("gapmerge: cannot write s.png: the chart cannot be drawn: Too many "
                             "open files\n"),
            std::string::npos)
      << starved.err;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "s.png"));
}

}  // namespace
}  // namespace gapmerge::test

// One application on the offscreen platform, with one screen of 1024 x 768,
// for all tests, gone before the program's exit handlers run.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::setenv("QT_QPA_PLATFORM", "offscreen:configfile=" GAPMERGE_OFFSCREEN_SCREEN, 1);
  const QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
