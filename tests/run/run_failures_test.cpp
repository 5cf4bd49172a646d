// Runs that meet reports they cannot read and a merged file they cannot write.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <filesystem>
#include <string>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

// Primes 2, 3, 5, 7 and 23, 29: the reports on both sides of a hole.
constexpr std::string_view firstName = "Tramvelok 1 to 10 20261206120000.txt";
constexpr std::string_view holeName = "Tramvelok 11 to 20 20261206120000.txt";
constexpr std::string_view lastName = "Tramvelok 21 to 30 20261206120000.txt";
constexpr std::string_view firstReport =
    "First prime in range : 2\nLast prime in range : 7\nGaps [gap, qty]\n[1, 1], [2, 2], \n";
constexpr std::string_view holeReport =
    "First prime in range : 11\nLast prime in range : 19\nGaps [gap, qty]\n[2, 2], [4, 1], \n";
constexpr std::string_view lastReport =
    "First prime in range : 23\nLast prime in range : 29\nGaps [gap, qty]\n[6, 1], \n";

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string couldNotOpen(std::string_view name) {
  return std::string(name) + " : Report could not be opened, nothing merged from " +
         std::string(name) + "\n\n";
}

// Checks a run in which the middle report of three could not be read: nothing
// of it is merged, no mid gap is formed across it, yet its sections stand.
void expectHoleSkipped(const ScratchDir& dir, const ProgramResult& result) {
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_TRUE(contains(result.out, couldNotOpen(holeName)));
  EXPECT_TRUE(
      contains(merged, "Mid gaps : Gaps (20) [gap, qty]\r\n[1, 1], [2, 2], \r\nTotal 3 gaps"));
  EXPECT_TRUE(contains(merged, "1 - 30\r\n\r\nnGaps = 4\r\n"));
  EXPECT_TRUE(contains(merged, "\r\nGaps [gap, qty]\r\n\r\n[1, 1], [2, 2], [6, 1], \r\n"));
  EXPECT_TRUE(merged.ends_with("nGaps : 4\r\n"));
}

void writeReports(const ScratchDir& dir) {
  dir.write(firstName, firstReport);
  dir.write(lastName, lastReport);
}

TEST(UnreadableReport, aFifoIsSkippedAndCutsTheChain) {
  ScratchDir dir;
  writeReports(dir);
  ASSERT_EQ(::mkfifo((dir.path() / holeName).c_str(), 0600), 0);
  expectHoleSkipped(dir, runGapmerge({"--batch"}, dir.path().string()));
}

TEST(UnreadableReport, aDanglingLinkIsSkippedAndCutsTheChain) {
  ScratchDir dir;
  writeReports(dir);
  std::filesystem::create_symlink(dir.path() / "gone", dir.path() / holeName);
  expectHoleSkipped(dir, runGapmerge({"--batch"}, dir.path().string()));
}

TEST(UnreadableReport, aReportLockedByAnotherProgramIsSkipped) {
  ScratchDir dir;
  writeReports(dir);
  const auto hole = dir.write(holeName, holeReport);
  const int fd = ::open(hole.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  ::close(fd);
  expectHoleSkipped(dir, result);
}

TEST(UnreadableReport, withTheHoleReadableTheSlicesJoin) {
  ScratchDir dir;
  writeReports(dir);
  dir.write(holeName, holeReport);
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_FALSE(contains(result.out, "could not be opened"));
  // Mid gaps 11 - 7 = 4 and 23 - 19 = 4 join the three tables.
  EXPECT_TRUE(contains(merged, "\r\nGaps [gap, qty]\r\n\r\n[1, 1], [2, 4], [4, 3], [6, 1], \r\n"));
  EXPECT_TRUE(merged.ends_with("nGaps : 9\r\n"));
}

TEST(MergedFile, aFolderInItsPlaceIsReportedFirstAndFailsTheRun) {
  ScratchDir dir;
  writeReports(dir);
  std::filesystem::create_directory(dir.path() / "fileout.txt");
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(result.exitStatus, 1);
  const std::string entry = "fileout.txt : Merged results file could not be created in " +
                            dir.asWorkingDirectory() + "\n\n";
  const auto warnings = result.out.find("OutputDirectory : " + dir.asWorkingDirectory() + "\n");
  ASSERT_NE(warnings, std::string::npos);
  EXPECT_EQ(result.out.substr(result.out.find('\n', warnings) + 1, entry.size()), entry);
  EXPECT_TRUE(contains(result.out, "nGaps : 5\n"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "fileout.txt"));
}

TEST(MergedFile, failedWritesAreReportedAndFailTheRun) {
  ScratchDir dir;
  // Twenty reports make a merged file far larger than the printed summary, so
  // the size limit stops the merged file but not the standard output.
  for (int slice = 0; slice < 20; ++slice) {
    dir.write("Tramvelok " + std::to_string(slice) + " to 1 x.txt", firstReport);
  }
  constexpr long long limit = 5000;
  const auto result = runGapmerge({"--batch"}, dir.path().string(), {.fileSizeLimit = limit});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_TRUE(
      result.out.ends_with("fileout.txt : Merged results file is incomplete, writing failed in " +
                           dir.asWorkingDirectory() + "\n\n\n"));
  EXPECT_EQ(std::filesystem::file_size(dir.path() / "fileout.txt"), limit);
}

TEST(MergedFile, aFileHeldByAnotherProgramIsNeitherEmptiedNorWritten) {
  ScratchDir dir;
  writeReports(dir);
  const auto held = dir.write("fileout.txt", "kept");
  const int fd = ::open(held.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  ::close(fd);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(readFile(held), "kept");
}

TEST(Discovery, reportsInNestedFoldersAreReadInPathOrder) {
  ScratchDir dir;
  const std::string table = "Gaps [gap, qty]\n[2, 1], \n";
  dir.write("zz/Tramvelok 1 to 400 20261206120000.txt", table);
  dir.write("Tramvelok 1 to 100 20261206120000.txt", table);
  dir.write("Archive/deeper/Tramvelok 1 to 300 20261206120000.txt", table);
  dir.write("Archive/Tramvelok 1 to 200 20261206120000.txt", table);
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  std::vector<std::size_t> at;
  for (const char* bound : {"(200)", "(300)", "(100)", "(400)"}) {
    at.push_back(merged.find(std::string("Mid gaps : Gaps ") + bound));
  }
  EXPECT_TRUE(std::is_sorted(at.begin(), at.end()));
  EXPECT_EQ(at.back() == std::string::npos, false);
  EXPECT_TRUE(contains(merged, "Total 4 gaps"));
  EXPECT_TRUE(contains(result.out, "FileName : Tramvelok 1 to 400 20261206120000.txt\n"));
}

}  // namespace
}  // namespace gapmerge::test
