#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

constexpr const char* report =
    "nmin = 1\nnmax = 30\nTramvelok - found 10 primes\nTramvelok - 10 primes in 0.001s\n"
    "Tramvelok - Total gaps : 9\n... good guess\n... excellent\nFirst prime in range : 2\n"
    "Last prime in range : 29\nGaps [gap, qty]\n[1, 1], [2, 4], [4, 3], [6, 1], \n";

bool commandExists(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string quoted(const std::string& text) {
  return "'" + text + "'";
}

// Runs the program on a fresh X server, answers its question with No and
// presses Escape in its window; gives the program's exit status, or 124 when
// the whole run took too long.
int runOnVirtualDisplay(const std::string& folder) {
  const std::string command = "timeout -k 5 120 xvfb-run -a -s '-screen 0 1024x768x24' " +
                              quoted(GAPMERGE_ANSWER_AND_CLOSE) + " " + quoted(GAPMERGE_EXE) + " " +
                              quoted(folder);
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(WindowOnVirtualDisplay, mergesAnswersAndEndsOnEscape) {
  if (!commandExists("xvfb-run")) {
    GTEST_SKIP() << "xvfb-run is not installed";
  }
  const ScratchDir dir;
  dir.write("Tramvelok 1 to 30 20261206120000.txt", report);
  EXPECT_EQ(runOnVirtualDisplay(dir.path().string()), 0);
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_EQ(std::count(merged.begin(), merged.end(), '\n'), 66);
}

}  // namespace
}  // namespace gapmerge::test
