#include "text/text_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.hpp"

namespace gapmerge {
namespace {

using test::readFile;
using test::ScratchDir;

// Every line of the file at path, read until atEnd.
std::vector<std::string> readAllLines(const std::filesystem::path& path) {
  TextFile file = openTextFile(path.string());
  EXPECT_TRUE(file.isOpen()) << path;
  std::vector<std::string> lines;
  std::string line;
  while (!atEnd(file)) {
    readLine(file, line);
    lines.push_back(line);
  }
  readLine(file, line);
  EXPECT_EQ(line, "") << "readLine at the end of " << path;
  closeTextFile(file);
  return lines;
}

// Runs body in a child process that is killed after `seconds`; the child's
// exit status, or -1 when it did not exit by itself.
int runInChild(const std::function<int()>& body, unsigned seconds) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::alarm(seconds);
    ::_exit(body());
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
    return -1;
  }
  return WEXITSTATUS(status);
}

using Lines = std::vector<std::string>;

TEST(TextFile, readLineAcceptsEveryLineEnd) {
  const ScratchDir dir;
  EXPECT_EQ(readAllLines(dir.write("mixed", "A\rB\nC")), (Lines{"A", "B", "C"}));
  EXPECT_EQ(readAllLines(dir.write("crlf", "A\r\nB\r\n")), (Lines{"A", "B"}));
  EXPECT_EQ(readAllLines(dir.write("blank", "A\r\n\r\n")), (Lines{"A", ""}));
  EXPECT_EQ(readAllLines(dir.write("lfcr", "A\n\rB")), (Lines{"A", "", "B"}));
  EXPECT_EQ(readAllLines(dir.write("crcrlf", "A\r\r\nB")), (Lines{"A", "", "B"}));
  EXPECT_EQ(readAllLines(dir.write("lf", "\n")), (Lines{""}));
  EXPECT_EQ(readAllLines(dir.write("empty", "")), Lines{});
  EXPECT_EQ(readAllLines(dir.write("nul", std::string("ab\0cd", 5))), (Lines{"ab", "cd"}));
  EXPECT_EQ(readAllLines(dir.write("nullf", std::string("ab\0\ncd", 6))), (Lines{"ab", "", "cd"}));
  EXPECT_EQ(readAllLines(dir.write("bytes", "\xE9t\xC3\xA9\t \r\n")), (Lines{"\xE9t\xC3\xA9\t "}));
}

TEST(TextFile, lineEndsAcrossTheBufferBoundary) {
  const ScratchDir dir;
  const std::string head(textFileBufferSize - 1, 'a');
  EXPECT_EQ(readAllLines(dir.write("crlf", head + "\r\nb")), (Lines{head, "b"}));
  EXPECT_EQ(readAllLines(dir.write("cr", head + "\rxyz")), (Lines{head, "xyz"}));
  EXPECT_EQ(readAllLines(dir.write("crcr", head + "\r\rz")), (Lines{head, "", "z"}));
  EXPECT_EQ(readAllLines(dir.write("crlast", head + "\r")), (Lines{head}));
  EXPECT_EQ(readAllLines(dir.write("lflast", head + "\n")), (Lines{head}));
  EXPECT_EQ(readAllLines(dir.write("full", head + "b")), (Lines{head + "b"}));

  const std::string longer(textFileBufferSize + 1, 'c');
  EXPECT_EQ(readAllLines(dir.write("longer", "x\n" + longer + "\r\ny")), (Lines{"x", longer, "y"}));
  const std::string huge(5'000'000, 'h');
  EXPECT_EQ(readAllLines(dir.write("huge", huge + "\nend")), (Lines{huge, "end"}));
}

TEST(TextFile, atEndAfterTheLastLineEnd) {
  const ScratchDir dir;
  TextFile file = openTextFile(dir.write("report", "A\r\n").string());
  ASSERT_TRUE(file.isOpen());
  EXPECT_FALSE(atEnd(file));
  std::string line = "old";
  readLine(file, line);
  EXPECT_EQ(line, "A");
  EXPECT_TRUE(atEnd(file));
  readLine(file, line);
  EXPECT_EQ(line, "");
  EXPECT_TRUE(closeTextFile(file));
}

TEST(TextFile, writeLineAppendsCrLfThroughTheBuffer) {
  const ScratchDir dir;
  const auto path = dir.path() / "out.txt";
  const std::string big(3 * textFileBufferSize + 5, 'b');
  const std::string fill(textFileBufferSize - 2, 'f');
  std::vector<std::string> texts = {"", "first", "ends\r\n", big, fill, fill + "!", "x"};
  for (int i = 0; i < 2000; ++i) {
    texts.push_back("line " + std::to_string(i));
  }
  std::string expected;
  TextFile file = createTextFile(path.string());
  ASSERT_TRUE(file.isOpen());
  for (const auto& text : texts) {
    writeLine(file, text);
    expected += text + "\r\n";
  }
  EXPECT_TRUE(closeTextFile(file));
  EXPECT_EQ(readFile(path), expected);

  TextFile single = createTextFile(path.string());
  writeLine(single, "");
  EXPECT_TRUE(closeTextFile(single));
  EXPECT_EQ(readFile(path), "\r\n");
}

TEST(TextFile, createTextFileEmptiesAnExistingFile) {
  const ScratchDir dir;
  const auto path = dir.write("fileout.txt", "old contents\r\n");
  TextFile file = createTextFile(path.string());
  ASSERT_TRUE(file.isOpen());
  EXPECT_EQ(readFile(path), "");
  EXPECT_TRUE(closeTextFile(file));
  EXPECT_EQ(readFile(path), "");
}

TEST(TextFile, readingHandleIgnoresWrites) {
  const ScratchDir dir;
  const auto path = dir.write("report", "A\nB\n");
  TextFile file = openTextFile(path.string());
  std::string line;
  readLine(file, line);
  EXPECT_EQ(line, "A");
  writeLine(file, "X");
  readLine(file, line);
  EXPECT_EQ(line, "B");
  EXPECT_TRUE(atEnd(file));
  EXPECT_TRUE(closeTextFile(file));
  EXPECT_EQ(readFile(path), "A\nB\n");
}

TEST(TextFile, failedHandleReadsEmptyAndDropsWrites) {
  const ScratchDir dir;
  TextFile missing = openTextFile((dir.path() / "missing").string());
  EXPECT_FALSE(missing.isOpen());
  EXPECT_TRUE(atEnd(missing));
  std::string line = "old";
  readLine(missing, line);
  EXPECT_EQ(line, "");
  EXPECT_FALSE(closeTextFile(missing));

  const auto nowhere = dir.path() / "no-folder" / "fileout.txt";
  TextFile output = createTextFile(nowhere.string());
  EXPECT_FALSE(output.isOpen());
  writeLine(output, "dropped");
  EXPECT_FALSE(closeTextFile(output));
  EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST(TextFile, closeReportsWritesThatFailed) {
  const ScratchDir dir;
  const auto fits = dir.path() / "fits.txt";
  const auto tooBig = dir.path() / "too-big.txt";
  constexpr rlim_t limit = 10'000;
  const std::string text(999, 't');  // 1001 bytes a line with CR LF
  const int status = runInChild(
      [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &fileSize) != 0) {
          return 3;
        }
        TextFile small = createTextFile(fits.string());
        for (int i = 0; i < 9; ++i) {
          writeLine(small, text);
        }
        TextFile large = createTextFile(tooBig.string());
        for (int i = 0; i < 20; ++i) {
          writeLine(large, text);
        }
        const bool smallClosed = closeTextFile(small);
        const bool largeClosed = closeTextFile(large);
        return (smallClosed ? 0 : 1) + (largeClosed ? 2 : 0);
      },
      5);
  EXPECT_EQ(status, 0) << "1: fitting writes reported as failed, 2: failed writes not reported";
  std::string expected;
  for (int i = 0; i < 20; ++i) {
    expected += text + "\r\n";
  }
  EXPECT_EQ(readFile(fits), expected.substr(0, 9 * 1001));
  EXPECT_EQ(readFile(tooBig), expected.substr(0, limit));
}

TEST(TextFile, onlyRegularFilesAreOpened) {
  const ScratchDir dir;
  const auto fifo = dir.path() / "Tramvelok fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int status = runInChild(
      [&] {
        const bool opened = openTextFile(fifo.string()).isOpen();
        const bool created = createTextFile(fifo.string()).isOpen();
        return (opened ? 1 : 0) + (created ? 2 : 0);
      },
      5);
  EXPECT_EQ(status, 0) << "-1: hung or crashed, 1: opened for reading, 2: opened for writing";

  const auto folder = dir.path() / "Tramvelok dir";
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(openTextFile(folder.string()).isOpen());
  EXPECT_FALSE(createTextFile(folder.string()).isOpen());

  const auto dangling = dir.path() / "Tramvelok dangling";
  std::filesystem::create_symlink(dir.path() / "missing", dangling);
  EXPECT_FALSE(openTextFile(dangling.string()).isOpen());

  const auto target = dir.write("target", "through the link\r\n");
  const auto link = dir.path() / "Tramvelok link";
  std::filesystem::create_symlink(target, link);
  EXPECT_EQ(readAllLines(link), (Lines{"through the link"}));
}

TEST(TextFile, aFileHeldElsewhereIsNeitherOpenedNorTruncated) {
  const ScratchDir dir;
  const std::string contents = "Tramvelok contents\r\n";
  const auto path = dir.write("Tramvelok held", contents);
  std::array<int, 2> locked{};
  std::array<int, 2> release{};
  ASSERT_EQ(::pipe(locked.data()), 0);
  ASSERT_EQ(::pipe(release.data()), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    ::alarm(5);
    ::close(release[1]);
    const int fd = ::open(path.c_str(), O_RDONLY);
    char byte = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
    if (::write(locked[1], &byte, 1) != 1 || ::read(release[0], &byte, 1) < 0) {
      ::_exit(1);
    }
    ::_exit(0);
  }
  ASSERT_GT(holder, 0);
  char answer = 'n';
  EXPECT_EQ(::read(locked[0], &answer, 1), 1);
  EXPECT_EQ(answer, 'y');

  EXPECT_FALSE(openTextFile(path.string()).isOpen());
  EXPECT_FALSE(createTextFile(path.string()).isOpen());
  EXPECT_EQ(readFile(path), contents);

  ::close(release[1]);
  int status = 0;
  EXPECT_EQ(::waitpid(holder, &status, 0), holder);
  for (const int fd : {locked[0], locked[1], release[0]}) {
    ::close(fd);
  }

  TextFile mine = openTextFile(path.string());
  ASSERT_TRUE(mine.isOpen());
  EXPECT_FALSE(openTextFile(path.string()).isOpen());
  EXPECT_FALSE(createTextFile(path.string()).isOpen());
  const int other = ::open(path.c_str(), O_RDONLY);
  EXPECT_NE(::flock(other, LOCK_EX | LOCK_NB), 0);
  ::close(other);
  EXPECT_TRUE(closeTextFile(mine));
  EXPECT_EQ(readFile(path), contents);
  EXPECT_TRUE(openTextFile(path.string()).isOpen());
}

}  // namespace
}  // namespace gapmerge
