// Finding a display, the whole program with and without one, and the gap chart
// drawn without any.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"
#include "ui/display_check.hpp"

namespace gapmerge::test {
namespace {

constexpr const char* reportName = "Tramvelok 1 to 30 20261206120000.txt";
constexpr const char* report =
    "nmin = 1\nnmax = 30\nTramvelok - found 10 primes\nTramvelok - 10 primes in 0.001s\n"
    "Tramvelok - Total gaps : 9\n... good guess\n... excellent\nFirst prime in range : 2\n"
    "Last prime in range : 29\nGaps [gap, qty]\n[1, 1], [2, 4], [4, 3], [6, 1], \n";

// Sets the variables that select a display; nullptr unsets one.
void selectDisplay(const char* platform, const char* display, const char* wayland = nullptr,
                   const char* runtime = nullptr) {
  const std::pair<const char*, const char*> values[] = {{"QT_QPA_PLATFORM", platform},
                                                        {"DISPLAY", display},
                                                        {"WAYLAND_DISPLAY", wayland},
                                                        {"XDG_RUNTIME_DIR", runtime}};
  for (const auto& [name, value] : values) {
    if (value == nullptr) {
      ::unsetenv(name);
    } else {
      ::setenv(name, value, 1);
    }
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
    const std::string command = "timeout -k 5 120 '" + std::string(GAPMERGE_ANSWER_AND_CLOSE) +
                                "' " + how + " '" + GAPMERGE_EXE + "' '" + dir.path().string() +
                                "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << how << " " << status;
    const std::string merged = readFile(dir.path() / "fileout.txt");
    EXPECT_EQ(std::count(merged.begin(), merged.end(), '\n'), how == "cancel" ? 0 : 66) << how;
  }
}

TEST(Plot, drawsAPngOfTheSizeAskedForAndAnSvgWithoutADisplay) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    ::unsetenv(name);
  }
  const ScratchDir dir;
  dir.write("Tramvelok 1 to 100 x.txt",
            "Gaps [gap, qty]\n[1, 1], [2, 8], [4, 7], [6, 7], [8, 1], \n");
  const auto png =
      runGapmerge({"--batch", "--plot", "g.png", "--plot-size", "640x360"}, dir.path().string());
  ASSERT_EQ(png.exitStatus, 0) << png.err;
  EXPECT_EQ(png.err, "");
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
}

}  // namespace
}  // namespace gapmerge::test
