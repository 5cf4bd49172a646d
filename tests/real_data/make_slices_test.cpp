#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/real_data/real_data.hpp"

namespace gapmerge::test {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const ScratchDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(MakeSlices, writesTheWholeReportOfOneSlice) {
  const ScratchDir dir;
  ASSERT_TRUE(makeSlices(1, 30, 1, dir));
  EXPECT_EQ(readFile(dir.path() / "Tramvelok 1 to 30 20261206120000.txt"),
            "maxStoredPrimes = 50.000.000\r\n"
            "ThreadedFlag = 1\r\n"
            "Algorithm = Segmented\r\n"
            "PageSizeLimit = 32.768\r\n"
            "nSlicesMaxLimit = 1.000\r\n"
            "maxConcurrentThreads = 8\r\n"
            "nmin = 1\r\n"
            "nmax = 30\r\n"
            "Tramvelok - found 10 primes\r\n"
            "Tramvelok - 10 primes in 0.000s\r\n"
            "Tramvelok - Total gaps : 9\r\n"
            "First prime in range : 2\r\n"
            "Last prime in range : 29\r\n"
            "Gaps [gap, qty]\r\n"
            "[1, 1], [2, 4], [4, 3], [6, 1], \r\n");
}

TEST(MakeSlices, cutsSlicesOfAGivenSizeWithTheGivenStamp) {
  const ScratchDir dir;
  const auto result = runMakeSlices({"--from", "100", "--to", "1000", "--size", "300", "--stamp",
                                     "19991231235959", "--out", dir.path()});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(namesIn(dir), (std::set<std::string>{"Tramvelok 100 to 399 19991231235959.txt",
                                                 "Tramvelok 400 to 699 19991231235959.txt",
                                                 "Tramvelok 700 to 999 19991231235959.txt",
                                                 "Tramvelok 1.000 to 1.000 19991231235959.txt"}));
}

TEST(MakeSlices, rejectsWrongCommandLinesAndWritesNothing) {
  const ScratchDir dir;
  const std::string out = dir.path().string();
  for (const auto& wrong : std::vector<std::vector<std::string>>{
           {"--from", "1", "--to", "100", "--slices", "2"},
           {"--from", "1", "--to", "100", "--slices", "2", "--size", "5", "--out", out},
           {"--from", "200", "--to", "100", "--slices", "1", "--out", out},
           {"--from", "1", "--to", "100", "--slices", "10", "--index", "10", "--out", out},
           {"--from", "1", "--to", "100", "--slices", "1", "--out", out, "--frobnicate", "1"}}) {
    const auto result = runMakeSlices(wrong);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_TRUE(result.err.starts_with("make-slices: ")) << result.err;
  }
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

}  // namespace
}  // namespace gapmerge::test
