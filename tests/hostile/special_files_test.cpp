// Runs that meet reports which are not regular files, or which another
// program holds.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/hostile/hostile_support.hpp"

namespace gapmerge::test {
namespace {

// Leaves a UNIX socket bound at path.
void makeSocket(const std::filesystem::path& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string name = path.string();
  ASSERT_LT(name.size(), sizeof(address.sun_path));
  std::ranges::copy(name, std::begin(address.sun_path));
  // The socket interface takes every address as its common header.
  const auto* common = reinterpret_cast<const sockaddr*>(&address);  // NOLINT
  const int bound = ::bind(fd, common, sizeof(address));
  ::close(fd);
  ASSERT_EQ(bound, 0);
}

TEST(SpecialFile, whatIsNotARegularFileIsSkippedAndCutsTheChain) {
  using Setup = std::function<void(const std::filesystem::path& hole)>;
  const std::vector<std::pair<std::string, Setup>> holes{
      {"a UNIX socket", [](const auto& hole) { makeSocket(hole); }},
      // Character devices are not regular files; /dev/zero would never end.
      {"a link to /dev/zero",
       [](const auto& hole) { std::filesystem::create_symlink("/dev/zero", hole); }},
      {"a link to /dev/null",
       [](const auto& hole) { std::filesystem::create_symlink("/dev/null", hole); }},
      {"a link to a FIFO",
       [](const auto& hole) {
         const auto fifo = hole.parent_path() / "pipe";
         ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
         std::filesystem::create_symlink(fifo, hole);
       }},
      {"a link to itself",
       [](const auto& hole) { std::filesystem::create_symlink(hole.filename(), hole); }},
  };
  for (const auto& [what, setup] : holes) {
    SCOPED_TRACE(what);
    ScratchDir dir;
    writeNeighbours(dir);
    setup(dir.path() / holeName);
    expectHoleSkipped(dir, runGapmerge({"--batch"}, dir.path().string()));
  }
}

TEST(SpecialFile, aReportHeldWithASharedLockIsSkipped) {
  ScratchDir dir;
  writeNeighbours(dir);
  const auto hole = dir.write(holeName, holeReport);
  const int fd = ::open(hole.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_SH), 0);
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  ::close(fd);
  expectHoleSkipped(dir, result);
}

TEST(SpecialFile, aLinkToAReportOutsideTheFolderIsReadThroughTheLink) {
  ScratchDir outside;
  const auto target = outside.write("kept.txt", holeReport);
  ScratchDir dir;
  writeNeighbours(dir);
  std::filesystem::create_symlink(target, dir.path() / holeName);
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_FALSE(contains(result.out, "could not be opened"));
  // Mid gaps 11 - 7 = 4 and 23 - 19 = 4 join the three tables.
  EXPECT_TRUE(contains(merged, "\r\nGaps [gap, qty]\r\n\r\n[1, 1], [2, 4], [4, 3], [6, 1], \r\n"));
  EXPECT_TRUE(merged.ends_with("nGaps : 9\r\n"));
  EXPECT_EQ(readFile(target), holeReport);
}

}  // namespace
}  // namespace gapmerge::test
