// Runs over folder trees with links, loops, odd names and great depth.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "tests/hostile/hostile_support.hpp"

namespace gapmerge::test {
namespace {

namespace fs = std::filesystem;

// Two reports that join: primes 2 .. 7 and 11 .. 19, mid gap 11 - 7 = 4.
void expectFirstAndHoleOnce(const ScratchDir& dir, const ProgramResult& result) {
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_FALSE(contains(result.out, "could not be opened")) << result.out;
  EXPECT_EQ(countOf(merged, "Mid gaps : Gaps ("), 2U);
  EXPECT_TRUE(
      contains(merged, "Mid gaps : Gaps (10) [gap, qty]\r\n[1, 1], [2, 2], \r\nTotal 3 gaps"));
  EXPECT_TRUE(contains(
      merged, "Mid gaps : Gaps (20) [gap, qty]\r\n[1, 1], [2, 4], [4, 2], \r\nTotal 7 gaps"));
  EXPECT_TRUE(merged.ends_with("nGaps : 7\r\n"));
}

TEST(FolderStructure, loopsOfLinksBetweenFoldersAreNotFollowed) {
  ScratchDir dir;
  dir.write(fs::path("a") / firstName, firstReport);
  dir.write(fs::path("b") / holeName, holeReport);
  // a and b lead into each other, c into itself, d back to the top.
  fs::create_symlink("../b", dir.path() / "a" / "toB");
  fs::create_symlink("../a", dir.path() / "b" / "toA");
  fs::create_directory(dir.path() / "c");
  fs::create_symlink(".", dir.path() / "c" / "self");
  fs::create_symlink("..", dir.path() / "c" / "up");
  fs::create_symlink(dir.path(), dir.path() / "d");
  expectFirstAndHoleOnce(dir, runGapmerge({"--batch"}, dir.path().string()));
}

TEST(FolderStructure, aLinkToAFolderInTheTreeIsNotEntered) {
  ScratchDir dir;
  dir.write(fs::path("real") / firstName, firstReport);
  dir.write(fs::path("real") / holeName, holeReport);
  // Both links sort before "real": entering one would read the reports twice
  // and first under the link's path.
  fs::create_symlink("real", dir.path() / "Archive");
  fs::create_symlink(dir.path() / "real", dir.path() / "Tramvelok linked folder");
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  expectFirstAndHoleOnce(dir, result);
  EXPECT_TRUE(contains(result.out, "FileName : " + std::string(holeName) + "\n"));
}

TEST(FolderStructure, aFolderNamedLikeAReportIsEnteredButNotListed) {
  ScratchDir dir;
  dir.write(fs::path("Tramvelok 1 to 10 folder") / firstName, firstReport);
  dir.write(fs::path("Tramvelok 11 to 20 folder") / "inner" / holeName, holeReport);
  fs::create_directory(dir.path() / "Tramvelok empty");
  expectFirstAndHoleOnce(dir, runGapmerge({"--batch"}, dir.path().string()));
}

// Lowers the number of files this process and its children may open, and
// gives it back at the end of the scope.
class OpenFilesLimit {
 public:
  explicit OpenFilesLimit(rlim_t files) {
    ::getrlimit(RLIMIT_NOFILE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = files;
    ::setrlimit(RLIMIT_NOFILE, &lowered);
  }
  OpenFilesLimit(const OpenFilesLimit&) = delete;
  OpenFilesLimit& operator=(const OpenFilesLimit&) = delete;
  OpenFilesLimit(OpenFilesLimit&&) = delete;
  OpenFilesLimit& operator=(OpenFilesLimit&&) = delete;
  ~OpenFilesLimit() { ::setrlimit(RLIMIT_NOFILE, &saved_); }

 private:
  rlimit saved_{};
};

TEST(FolderStructure, reportsAtTheBottomOfA200LevelTreeAreFound) {
  ScratchDir dir;
  fs::path bottom;
  for (int level = 0; level < 200; ++level) {
    bottom /= "d";
  }
  dir.write(bottom / firstName, firstReport);
  dir.write(bottom / "e" / holeName, holeReport);
  // The tree is deeper than the number of files the run may have open at once.
  const OpenFilesLimit limit(64);
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  expectFirstAndHoleOnce(dir, result);
}

}  // namespace
}  // namespace gapmerge::test
