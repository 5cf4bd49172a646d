// --plot draws the gap chart without any display: a PNG of the size asked
// for that is not blank, and an SVG.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <set>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

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
