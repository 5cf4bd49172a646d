#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

constexpr const char* report =
    "nmin = 1\nnmax = 30\nTramvelok - found 10 primes\nTramvelok - 10 primes in 0.001s\n"
    "Tramvelok - Total gaps : 9\n... good guess\n... excellent\nFirst prime in range : 2\n"
    "Last prime in range : 29\nGaps [gap, qty]\n[1, 1], [2, 4], [4, 3], [6, 1], \n";

TEST(WithoutDisplay, endsWithAMessageAndTouchesNothing) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    ::unsetenv(name);
  }
  const ScratchDir dir;
  dir.write("Tramvelok 1 to 30 20261206120000.txt", report);
  const auto result = runGapmerge({}, dir.path().string());
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_TRUE(result.out.empty());
  EXPECT_TRUE(result.err.starts_with("gapmerge: no window could be opened"));
  EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "fileout.txt"));
}

}  // namespace
}  // namespace gapmerge::test
