// Runs over reports whose contents are huge, garbled or not text at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/hostile/hostile_support.hpp"

namespace gapmerge::test {
namespace {

constexpr std::size_t megabyte = std::size_t{1000} * 1000;
constexpr std::size_t hugeLine = 200 * megabyte;

// Peak memory allowed for a report whose longest line has `line` bytes: the
// line itself and one copy of it, with room for the growth of the buffers.
long long boundForLine(std::size_t line) {
  return static_cast<long long>(line) * 5 / 2 / 1024;
}

void expectMemoryBelow(const ProgramResult& result, long long kib) {
  if (sanitizedBuild()) {
    return;
  }
  EXPECT_GT(result.peakMemoryKiB, 0);
  EXPECT_LT(result.peakMemoryKiB, kib);
}

// Runs gapmerge --batch in dir; a run that reads its input in linear time
// takes about a second per 200 MB here, one that does not would take hours.
ProgramResult runWithinSeconds(const ScratchDir& dir, double seconds) {
  const auto start = std::chrono::steady_clock::now();
  auto result = runGapmerge({"--batch"}, dir.path().string());
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (!sanitizedBuild()) {
    EXPECT_LT(took.count(), seconds);
  }
  return result;
}

TEST(Contents, aLineOf200MegabytesIsReadOnceInBoundedMemory) {
  {
    SCOPED_TRACE("one line of digits without a line end");
    ScratchDir dir;
    writeRepeated(dir.path() / firstName, "", "7777777777", hugeLine / 10, "");
    const auto result = runWithinSeconds(dir, 30);
    const std::string merged = readFile(dir.path() / "fileout.txt");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(countOf(merged, "Mid gaps : Gaps (10) [gap, qty]\r\n\r\nTotal 0 gaps"), 1U);
    EXPECT_TRUE(merged.ends_with("nGaps : 0\r\n"));
    expectMemoryBelow(result, boundForLine(hugeLine));
  }
  {
    SCOPED_TRACE("an nmin line with 200 MB of digits");
    ScratchDir dir;
    // 10^k is a multiple of 2^64 for every k >= 64, so the value wraps to 1.
    writeRepeated(dir.path() / firstName, "nmin = 1", "0000000000", hugeLine / 10,
                  "1\nnmax = 10\n");
    const auto result = runWithinSeconds(dir, 30);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_TRUE(contains(result.out, std::string(firstName) + " : nGaps / nPrimes values"));
    EXPECT_FALSE(contains(result.out, "min-max values do not match")) << result.out;
    EXPECT_TRUE(readFile(dir.path() / "fileout.txt").ends_with("nGaps : 0\r\n"));
    expectMemoryBelow(result, boundForLine(hugeLine));
  }
  {
    SCOPED_TRACE("a gap table line of 25 million items");
    ScratchDir dir;
    writeRepeated(dir.path() / firstName, "Gaps [gap, qty]\n", "[2, 1], ", hugeLine / 8, "\n");
    const auto result = runWithinSeconds(dir, 30);
    const std::string merged = readFile(dir.path() / "fileout.txt");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_TRUE(contains(
        merged, "Mid gaps : Gaps (10) [gap, qty]\r\n[2, 25000000], \r\nTotal 25000000 gaps"));
    EXPECT_TRUE(merged.ends_with("nGaps : 25000000\r\n"));
    expectMemoryBelow(result, boundForLine(hugeLine));
  }
}

TEST(Contents, aMillionShortLinesAreReadInSmallMemory) {
  ScratchDir dir;
  writeRepeated(dir.path() / firstName, "", "Gaps [gap, qty]\n[2, 1], \n", 500000, "");
  const auto result = runWithinSeconds(dir, 10);
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_TRUE(
      contains(merged, "Mid gaps : Gaps (10) [gap, qty]\r\n[2, 500000], \r\nTotal 500000 gaps"));
  EXPECT_TRUE(merged.ends_with("nGaps : 500000\r\n"));
  expectMemoryBelow(result, 64LL * 1024);
}

// 1 MB of bytes from a fixed seed, so every run reads the same garbage.
std::string randomBytes() {
  std::mt19937 generator(20261206);  // NOLINT(cert-msc32-c,cert-msc51-cpp): the same every run
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes(megabyte, '\0');
  for (auto& b : bytes) {
    b = static_cast<char>(byte(generator));
  }
  return bytes;
}

TEST(Contents, aReportWithoutAnyKnownLineLeavesTheRecordAsItWas) {
  const std::vector<std::pair<std::string, std::string>> holes{
      {"zero bytes", ""},
      {"binary garbage", randomBytes()},
      {"NUL bytes only", std::string(megabyte, '\0')},
      {"keys behind blanks and in other case",
       " nmin = 11\nFIRST PRIME IN RANGE : 11\ngaps [gap, qty]\n[2, 2]\n"},
  };
  for (const auto& [what, hole] : holes) {
    SCOPED_TRACE(what);
    ScratchDir dir;
    writeNeighbours(dir);
    dir.write(holeName, hole);
    const auto result = runGapmerge({"--batch"}, dir.path().string());
    const std::string merged = readFile(dir.path() / "fileout.txt");
    EXPECT_EQ(result.exitStatus, 0);
    // The hole keeps the first report's primes: its mid gap is 2 - 7 = -5, and
    // the last report's is 23 - 7 = 16.
    EXPECT_TRUE(
        contains(result.out, std::string(holeName) +
                                 " : Slices do not join: mid gap -5 to the previous report in " +
                                 std::string(holeName) + "\n\n"))
        << result.out;
    EXPECT_TRUE(
        contains(merged, "Mid gaps : Gaps (20) [gap, qty]\r\n[1, 1], [2, 2], \r\nTotal 4 gaps"));
    EXPECT_TRUE(contains(merged, "1 - 30\r\n\r\nnGaps = 6\r\n"));
    EXPECT_TRUE(
        contains(merged, "\r\nGaps [gap, qty]\r\n\r\n[1, 1], [2, 2], [6, 1], [16, 1], \r\n"));
    EXPECT_TRUE(merged.ends_with("nGaps : 5\r\n"));
  }
}

TEST(Contents, nulBytesEndLines) {
  ScratchDir dir;
  std::string first(firstReport);
  std::replace(first.begin(), first.end(), '\n', '\0');
  dir.write(firstName, first + std::string(3, '\0'));
  // The table line ends inside the second item: (4, 0) is handed over and
  // counts nothing; ", 1], " is a line of its own.
  dir.write(holeName, std::string("First prime in range : 11\0Last prime in range : 19\0", 51) +
                          "Gaps [gap, qty]\n[2, 2], [4" + std::string(1, '\0') + ", 1], \n");
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_TRUE(
      contains(merged, "Mid gaps : Gaps (10) [gap, qty]\r\n[1, 1], [2, 2], \r\nTotal 3 gaps"));
  EXPECT_TRUE(contains(
      merged, "Mid gaps : Gaps (20) [gap, qty]\r\n[1, 1], [2, 4], [4, 1], \r\nTotal 6 gaps"));
  EXPECT_TRUE(merged.ends_with("nGaps : 6\r\n"));
}

TEST(Contents, aByteOrderMarkHidesTheKeyOfTheFirstLine) {
  ScratchDir dir;
  dir.write(firstName, "nmin = 1\nnmax = 10\n" + std::string(firstReport));
  dir.write(holeName, "\xEF\xBB\xBFnmin = 11\nnmax = 20\n" + std::string(holeReport));
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(result.exitStatus, 0);
  // nmin is still the first report's 1; nmax = 20 on the next line is read.
  EXPECT_TRUE(contains(result.out, std::string(holeName) + " : min-max values do not match in " +
                                       std::string(holeName) + "\n"))
      << result.out;
  EXPECT_FALSE(contains(result.out, "min-max values do not match in " + std::string(firstName)));
  EXPECT_TRUE(readFile(dir.path() / "fileout.txt").ends_with("nGaps : 7\r\n"));
}

}  // namespace
}  // namespace gapmerge::test
