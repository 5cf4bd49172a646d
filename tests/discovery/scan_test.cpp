#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "merge/discovery.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge {
namespace {

using Paths = std::vector<std::string>;
using test::ScratchDir;

// The path under which the scan lists a file found below the scratch folder.
std::string listed(const ScratchDir& dir, const std::string& relative) {
  return dir.asWorkingDirectory() + "/" + relative;
}

Paths sorted(Paths paths) {
  std::sort(paths.begin(), paths.end());
  return paths;
}

TEST(FindReports, nothingToFind) {
  const ScratchDir dir;
  EXPECT_TRUE(findReports(dir.asWorkingDirectory()).empty());
  dir.write("fileout.txt", "");
  dir.write("sub/notes.txt", "");
  std::filesystem::create_directories(dir.path() / "empty" / "deeper");
  EXPECT_TRUE(findReports(dir.asWorkingDirectory()).empty());
}

TEST(FindReports, onlyFileNamesStartingWithThePrefixAreReports) {
  const ScratchDir dir;
  for (const char* name : {"tramvelok x", "TRAMVELOK 1", "Tramvelo", "Tramvel.txt", "xTramvelok 1",
                           " Tramvelok", "Tramvelok", "Tramvelok.anything", "Tramvelok 1 to 30.txt",
                           "Tramvelok dir/Tramvelok inner", "Tramvelok dir/notes.txt"}) {
    dir.write(name, "");
  }
  std::filesystem::create_directories(dir.path() / "Tramvelok dir" / "Tramvelok empty");
  EXPECT_EQ(
      findReports(dir.asWorkingDirectory()),
      (Paths{listed(dir, "Tramvelok"), listed(dir, "Tramvelok 1 to 30.txt"),
             listed(dir, "Tramvelok dir/Tramvelok inner"), listed(dir, "Tramvelok.anything")}));
}

TEST(FindReports, listedPathsAndTheirOrder) {
  const ScratchDir dir;
  for (const char* name :
       {"Tramvelok 2_000 to 3_000.txt", "Tramvelok 10_000 to 11_000.txt",
        "Tramvelok 1_000 to 2_000.txt", "Tramvelok 1.000 to 2.000.txt",
        "Tramvelok 10.000 to 11.000.txt", "Archive/Tramvelok 1.txt", "Archive/old/Tramvelok 0.txt",
        "zz/Tramvelok 0.txt", ".hidden/Tramvelok h.txt"}) {
    dir.write(name, "");
  }
  const Paths reports = findReports(dir.asWorkingDirectory());
  EXPECT_EQ(
      reports,
      (Paths{listed(dir, ".hidden/Tramvelok h.txt"), listed(dir, "Archive/Tramvelok 1.txt"),
             listed(dir, "Archive/old/Tramvelok 0.txt"),
             listed(dir, "Tramvelok 1_000 to 2_000.txt"),
             listed(dir, "Tramvelok 1.000 to 2.000.txt"),
             listed(dir, "Tramvelok 10_000 to 11_000.txt"),
             listed(dir, "Tramvelok 10.000 to 11.000.txt"),
             listed(dir, "Tramvelok 2_000 to 3_000.txt"), listed(dir, "zz/Tramvelok 0.txt")}));
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.front(), dir.path().string() + "//.hidden/Tramvelok h.txt");
}

TEST(FindReports, entriesThatAreNotRegularFilesAreListedByName) {
  const ScratchDir dir;
  const auto root = dir.path();
  ASSERT_EQ(::mkfifo((root / "Tramvelok fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink(root / "missing", root / "Tramvelok dangling");
  dir.write("data.txt", "");
  std::filesystem::create_symlink(root / "data.txt", root / "Tramvelok link");
  dir.write("sub/Tramvelok real", "");
  std::filesystem::create_symlink(root / "sub" / "Tramvelok real", root / "other link");
  std::filesystem::create_directory_symlink(root / "sub", root / "Tramvelok dirlink");
  EXPECT_EQ(findReports(dir.asWorkingDirectory()),
            (Paths{listed(dir, "Tramvelok dangling"), listed(dir, "Tramvelok fifo"),
                   listed(dir, "Tramvelok link"), listed(dir, "sub/Tramvelok real")}));
}

TEST(FindReports, linkCyclesEndAndEveryFolderIsScannedOnce) {
  const ScratchDir dir;
  const auto root = dir.path();
  dir.write("Tramvelok 0", "");
  dir.write("a/Tramvelok 1", "");
  dir.write("b/Tramvelok 2", "");
  dir.write("b/c/Tramvelok 3", "");
  std::filesystem::create_directory_symlink("..", root / "a" / "up");
  std::filesystem::create_directory_symlink("../a", root / "b" / "to a");
  std::filesystem::create_directory_symlink("../../b", root / "b" / "c" / "loop");
  std::filesystem::create_directory_symlink(root, root / "a" / "top");
  EXPECT_EQ(findReports(dir.asWorkingDirectory()),
            (Paths{listed(dir, "Tramvelok 0"), listed(dir, "a/Tramvelok 1"),
                   listed(dir, "b/Tramvelok 2"), listed(dir, "b/c/Tramvelok 3")}));
}

TEST(FindReports, aFolderThatCannotBeListedIsSkipped) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "permissions do not stop the superuser";
  }
  const ScratchDir dir;
  dir.write("Tramvelok 1", "");
  dir.write("closed/Tramvelok 2", "");
  dir.write("open/Tramvelok 3", "");
  ASSERT_EQ(::chmod((dir.path() / "closed").c_str(), 0), 0);
  EXPECT_EQ(findReports(dir.asWorkingDirectory()),
            (Paths{listed(dir, "Tramvelok 1"), listed(dir, "open/Tramvelok 3")}));
}

// A chain of folders deeper than the longest path the system resolves: the
// lower folders cannot be listed by path, even by the superuser.
class DeepFolders {
 public:
  DeepFolders(const std::filesystem::path& top, int depth) {
    ::mkdir(top.c_str(), 0700);
    folders_.push_back(::open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (int level = 1; level <= depth && folders_.back() >= 0; ++level) {
      ::mkdirat(folders_.back(), name.c_str(), 0700);
      folders_.push_back(
          ::openat(folders_.back(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
  }
  DeepFolders(const DeepFolders&) = delete;
  DeepFolders& operator=(const DeepFolders&) = delete;
  ~DeepFolders() {
    for (std::size_t level = folders_.size() - 1; level > 0; --level) {
      ::unlinkat(folders_[level], report.c_str(), 0);
      ::close(folders_[level]);
      ::unlinkat(folders_[level - 1], name.c_str(), AT_REMOVEDIR);
    }
    ::close(folders_.front());
  }

  [[nodiscard]] bool complete(int depth) const {
    return folders_.size() == static_cast<std::size_t>(depth) + 1 && folders_.back() >= 0;
  }
  // Puts a report into every folder of the chain.
  void addReports() const {
    for (std::size_t level = 1; level < folders_.size(); ++level) {
      ::close(::openat(folders_[level], report.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    }
  }

  const std::string name = std::string(200, 'd');
  const std::string report = "Tramvelok deep";

 private:
  std::vector<int> folders_;
};

TEST(FindReports, foldersBeyondThePathLimitDoNotStopTheScan) {
  const ScratchDir dir;
  constexpr int depth = 30;
  const DeepFolders deep(dir.path() / "deep", depth);
  ASSERT_TRUE(deep.complete(depth));
  deep.addReports();
  dir.write("Tramvelok top", "");
  dir.write("zz/Tramvelok after", "");

  Paths expected = {listed(dir, "Tramvelok top"), listed(dir, "zz/Tramvelok after")};
  std::string folder = "deep";
  for (int level = 1; level <= depth; ++level) {
    folder += "/" + deep.name;
    if (listed(dir, folder).size() < PATH_MAX) {
      expected.push_back(listed(dir, folder + "/" + deep.report));
    }
  }
  ASSERT_LT(expected.size(), depth + 2U);
  const Paths reports = findReports(dir.asWorkingDirectory());
  for (const auto& path : expected) {
    EXPECT_EQ(std::count(reports.begin(), reports.end(), path), 1) << path.size();
  }
}

TEST(ScanDirectory, appendsInListingOrderWithoutSorting) {
  const ScratchDir dir;
  dir.write("Tramvelok b", "");
  dir.write("Tramvelok a", "");
  dir.write("sub/Tramvelok c", "");
  Paths reports = {"kept"};
  scanDirectory(dir.path().string(), reports);
  ASSERT_EQ(reports.size(), 4U);
  EXPECT_EQ(reports.front(), "kept");
  const std::string top = dir.path().string() + "/";
  EXPECT_EQ(sorted(reports),
            (Paths{top + "Tramvelok a", top + "Tramvelok b", top + "sub/Tramvelok c", "kept"}));

  Paths none;
  scanDirectory((dir.path() / "missing").string(), none);
  EXPECT_TRUE(none.empty());
}

}  // namespace
}  // namespace gapmerge
