#include "text/text_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.hpp"

namespace gapmerge {
namespace {

using Lines = std::vector<std::string>;
using test::readFile;
using test::ScratchDir;

// Every line of the file at path, read until atEnd; readLine then gives "".
Lines readAllLines(const std::filesystem::path& path) {
  TextFile file = openTextFile(path.string());
  EXPECT_TRUE(file.isOpen()) << path;
  Lines lines;
  std::string line;
  while (!atEnd(file)) {
    readLine(file, line);
    lines.push_back(line);
  }
  readLine(file, line);
  EXPECT_EQ(line, "") << path;
  closeTextFile(file);
  return lines;
}

// The exit status of body run in a child killed after five seconds; -1 when it did not exit.
int runInChild(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(5);
    ::_exit(body());
  }
  int status = 0;
  return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)
             ? WEXITSTATUS(status)
             : -1;
}

TEST(TextFile, readLineAcceptsEveryLineEndAlsoAtTheBufferBoundary) {
  const ScratchDir dir;
  const std::string head(textFileBufferSize - 1, 'a');
  const std::string longer(textFileBufferSize + 1, 'c');
  const std::pair<std::string, Lines> cases[] = {{"A\rB\nC", {"A", "B", "C"}},
                                                 {"A\r\n\r\n", {"A", ""}},
                                                 {"A\n\rB", {"A", "", "B"}},
                                                 {"A\r\r\nB", {"A", "", "B"}},
                                                 {"", {}},
                                                 {std::string("ab\0\ncd", 6), {"ab", "", "cd"}},
                                                 {"\xE9t\t \r\n", {"\xE9t\t "}},
                                                 {head + "\r\nb", {head, "b"}},
                                                 {head + "\r\rz", {head, "", "z"}},
                                                 {head + "\r", {head}},
                                                 {"x\n" + longer + "\r\ny", {"x", longer, "y"}}};
  for (const auto& [bytes, lines] : cases) {
    EXPECT_EQ(readAllLines(dir.write("report", bytes)), lines) << bytes.size();
  }
}

// Writes cross the buffer in every way; a write the file size limit stops is
// reported by close, one that fits is not.
TEST(TextFile, createEmptiesTheFileAndCloseReportsFailedWrites) {
  const ScratchDir dir;
  const auto fits = dir.write("fits.txt", "old contents\r\n");
  const auto tooBig = dir.path() / "too-big.txt";
  const std::string fill(textFileBufferSize - 2, 'f');
  const std::vector<std::string> texts = {"", std::string(3 * textFileBufferSize + 5, 'b'), fill,
                                          fill + "!", "x"};
  constexpr rlim_t limit = 30'000;
  const int status = runInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit fileSize{limit, limit};
    TextFile small = createTextFile(fits.string());
    TextFile large = createTextFile(tooBig.string());
    if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0 || readFile(fits) != "") {
      return 3;
    }
    for (const auto& text : texts) {
      writeLine(small, text);
      writeLine(large, text);
      writeLine(large, text);
    }
    return (closeTextFile(small) ? 0 : 1) + (closeTextFile(large) ? 2 : 0);
  });
  EXPECT_EQ(status, 0) << "1: fitting writes reported as failed, 2: failed writes not reported";
  std::string expected;
  for (const auto& text : texts) {
    expected += text + "\r\n";
  }
  EXPECT_EQ(readFile(fits), expected);
  EXPECT_EQ(std::filesystem::file_size(tooBig), limit);
}

TEST(TextFile, onlyRegularFilesAreOpenedAndNeverAMissingOne) {
  const ScratchDir dir;
  const auto fifo = dir.path() / "Tramvelok fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(runInChild([&] {
              return (openTextFile(fifo.string()).isOpen() ? 1 : 0) +
                     (createTextFile(fifo.string()).isOpen() ? 2 : 0);
            }),
            0)
      << "-1: hung or crashed, 1: opened for reading, 2: opened for writing";
  std::filesystem::create_symlink(dir.path() / "missing", dir.path() / "dangling");
  std::filesystem::create_directory(dir.path() / "folder");
  for (const char* name : {"folder", "dangling", "missing"}) {
    TextFile file = openTextFile((dir.path() / name).string());
    EXPECT_FALSE(file.isOpen()) << name;
    EXPECT_TRUE(atEnd(file));
    EXPECT_FALSE(closeTextFile(file));
  }
  EXPECT_FALSE(createTextFile((dir.path() / "folder").string()).isOpen());
  EXPECT_FALSE(createTextFile((dir.path() / "missing/fileout.txt").string()).isOpen());
  std::filesystem::create_symlink(dir.write("target", "linked\r\n"), dir.path() / "link");
  EXPECT_EQ(readAllLines(dir.path() / "link"), Lines{"linked"});
}

TEST(TextFile, aFileLockedElsewhereIsNeitherOpenedNorTruncated) {
  const ScratchDir dir;
  const auto path = dir.write("Tramvelok held", "contents\r\n");
  const int other = ::open(path.c_str(), O_RDONLY);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  EXPECT_FALSE(openTextFile(path.string()).isOpen());
  EXPECT_FALSE(createTextFile(path.string()).isOpen());
  ::close(other);
  EXPECT_EQ(readFile(path), "contents\r\n");

  TextFile mine = openTextFile(path.string());
  ASSERT_TRUE(mine.isOpen());
  EXPECT_FALSE(createTextFile(path.string()).isOpen());
  EXPECT_TRUE(closeTextFile(mine));
  EXPECT_EQ(readFile(path), "contents\r\n");
}

}  // namespace
}  // namespace gapmerge
