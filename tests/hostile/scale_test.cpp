// A run over a folder of 100,000 reports.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/hostile/hostile_support.hpp"

namespace gapmerge::test {
namespace {

// A report that passes every check: the range and the primes of the example
// slice 50,000,001 to 60,000,000. It names no prime, so no mid gap is formed.
constexpr std::string_view quietReport =
    "nmin = 50.000.001\nnmax = 60.000.000\n"
    "Tramvelok - found 560.981 primes\nTramvelok - 560.981 primes in 0.000s\n"
    "Tramvelok - Total gaps : 560.980\nGaps [gap, qty]\n[2, 1], \n";

// The same slice many times over: the names differ only in their time stamps.
std::string reportName(int index) {
  const std::string stamp = std::to_string(20260000000000LL + index);
  return "Tramvelok 50.000.001 to 60.000.000 " + stamp + ".txt";
}

TEST(Scale, aHundredThousandReportsInOneFolder) {
  // Under the sanitizers every report costs many times more.
  const int reports = sanitizedBuild() ? 10000 : 100000;
  ScratchDir dir;
  for (int index = 0; index < reports; ++index) {
    dir.write(reportName(index), quietReport);
  }
  const auto start = std::chrono::steady_clock::now();
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  const auto seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::string merged = readFile(dir.path() / "fileout.txt");
  const std::string count = std::to_string(reports);

  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(countOf(merged, "Mid gaps : Gaps (60.000.000) [gap, qty]\r\n"),
            static_cast<std::size_t>(reports));
  EXPECT_TRUE(contains(merged, "[2, " + count + "], \r\nTotal " + count + " gaps\r\n"));
  EXPECT_TRUE(contains(merged, "\r\n50.000.001 - 60.000.000\r\n\r\nnGaps = " + count + "\r\n"));
  EXPECT_TRUE(merged.ends_with("nGaps : " + count + "\r\n"));
  // No warning: the summary ends with the last name and the folder.
  EXPECT_TRUE(result.out.ends_with("FileName : " + reportName(reports - 1) +
                                   "\nOutputDirectory : " + dir.asWorkingDirectory() + "\n\n"))
      << result.out.substr(result.out.size() - std::min<std::size_t>(result.out.size(), 2000));
  if (!sanitizedBuild()) {
    EXPECT_LT(seconds, 30.0);
    // The list of paths and the histogram; the merged file is not held.
    EXPECT_GT(result.peakMemoryKiB, 0);
    EXPECT_LT(result.peakMemoryKiB, 64LL * 1024);
  }
}

}  // namespace
}  // namespace gapmerge::test
