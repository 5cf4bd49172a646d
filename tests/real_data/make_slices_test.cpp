// make-slices itself: the bytes and cuts of its reports, its command line,
// and reports that are whole or absent when a write fails.
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "make_slices/number_argument.hpp"
#include "tests/real_data/real_data.hpp"

namespace gapmerge::test {
namespace {

namespace fs = std::filesystem;

// The names in folder, with the bytes of each file or "<link>" / "<folder>".
std::map<std::string, std::string> contentsOf(const fs::path& folder) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : fs::directory_iterator(folder)) {
    contents[entry.path().filename()] = entry.is_symlink()     ? "<link>"
                                        : entry.is_directory() ? "<folder>"
                                                               : readFile(entry.path());
  }
  return contents;
}

// The words of line, with DIR replaced by folder.
std::vector<std::string> argumentsOf(const std::string& line, const fs::path& folder) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) {
    words.push_back(word == "DIR" ? folder.string() : word);
  }
  return words;
}

TEST(MakeSlices, writesTheWholeReportOfOneSlice) {
  const ScratchDir dir;
  const std::string command = "--from 1 --to 30 --slices 1 --threads 1 --out DIR";
  ASSERT_EQ(runMakeSlices(argumentsOf(command, dir.path())).exitStatus, 0);
  EXPECT_EQ(readFile(dir.path() / "Tramvelok 1 to 30 20261206120000.txt"),
            "maxStoredPrimes = 50.000.000\r\nThreadedFlag = 1\r\nAlgorithm = Segmented\r\n"
            "PageSizeLimit = 32.768\r\nnSlicesMaxLimit = 1.000\r\nmaxConcurrentThreads = 8\r\n"
            "nmin = 1\r\nnmax = 30\r\nTramvelok - found 10 primes\r\n"
            "Tramvelok - 10 primes in 0.000s\r\nTramvelok - Total gaps : 9\r\n"
            "First prime in range : 2\r\nLast prime in range : 29\r\n"
            "Gaps [gap, qty]\r\n[1, 1], [2, 4], [4, 3], [6, 1], \r\n");
  // Slices of a size, the last one shorter, with another stamp.
  const auto sized = runMakeSlices(argumentsOf(
      "--from=100 --to 1e3 --size 300 --stamp 19991231235959 --out DIR", dir.path() / "sized"));
  EXPECT_EQ(sized.exitStatus, 0) << sized.err;
  for (const char* bounds : {"100 to 399", "400 to 699", "700 to 999", "1.000 to 1.000"}) {
    EXPECT_TRUE(fs::exists(dir.path() / "sized" /
                           ("Tramvelok " + std::string(bounds) + " 19991231235959.txt")));
  }
  EXPECT_EQ(runMakeSlices({"--version"}).out, "make-slices " PROJECT_VERSION_TEXT "\n");
}

TEST(MakeSlices, readsWholeNumbersAsUsersWriteThem) {
  // "text=value|" for a whole number, "text=|" for a text that is none below 2^64.
  const std::string cases =
      "0=0|1000=1000|1.000=1000|10_000_000=10000000|1e10=10000000000|2.5e9=2500000000|1E3=1000|"
      "1e+3=1000|1.50e1=15|0e99999=0|18446744073709551615=18446744073709551615|"
      "1.8446744073709551615e19=18446744073709551615|18446744073709551616=|"
      "1.8446744073709551616e19=|2e19=|2.5=|1.5e0=|1e-3=|-5=|+5=|=|1.0000=|1.00=|1000.000=|.5e1=|"
      "1000.=|.100=|1.000_000=|1..000=|1e=|e3=|1.e3=|1 000=|";
  for (std::size_t at = 0, end = 0; (end = cases.find('|', at)) != std::string::npos;
       at = end + 1) {
    const std::size_t equals = cases.rfind('=', end);
    const std::string value = cases.substr(equals + 1, end - equals - 1);
    EXPECT_EQ(make_slices::parseWholeNumber(cases.substr(at, equals - at)),
              value.empty() ? std::nullopt : std::optional(std::stoull(value)))
        << cases.substr(at, end - at);
  }
}

TEST(MakeSlices, answersEveryWrongCommandLineWithOneLineAndWritesNothing) {
  const ScratchDir dir;
  const std::string bound = "bound, a whole number from 0 to 9223372036854775807";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--from 1 --to 100 --slices 2", "--out is missing: give the folder for the reports"},
      {"--slices 2 --out DIR", "--to is missing: give the upper " + bound},
      {"--to 100 --out DIR",
       "--slices or --size is missing: give a number of slices from 1 to 1000000 or a slice size "
       "of 1 or more"},
      {"--to 100 --slices 2 --size 5 --out DIR",
       "--slices and --size exclude each other: give one of them"},
      {"--from 200 --to 100 --slices 1 --out DIR", "--from 200 is above --to 100"},
      {"--to 100 --slices 10 --index 10 --out DIR",
       "--index needs a slice number from 0 to 9, not '10'"},
      {"--to 100 --slices 1 --out DIR --frobnicate 1", "unknown option '--frobnicate'"},
      {"--to 100 --slices 1 DIR",
       "unexpected argument '" + dir.path().string() + "': every value follows its option"},
      {"--to 100 --slices 1 --out", "--out needs the folder for the reports"},
      {"--from --to 100 --slices 1 --out DIR", "--from needs the lower " + bound},
      {"--to 100 --to 100 --slices 1 --out DIR", "--to may be given only once"},
      {"--to 100 --slices 1 --out DIR --measure-time=yes", "--measure-time takes no value"},
      {"--to=9223372036854775808 --slices 1 --out DIR",
       "--to needs the upper " + bound + ", not '9223372036854775808'"},
      {"--from 1 --to 100 --slices 101 --out DIR",
       "--slices needs a number of slices from 1 to 100, not '101'"},
      {"--from 1 --to 1e12 --size 999_999 --out DIR",
       "--size needs a slice size of 1000000 or more (at most 1000000 slices), not '999_999'"},
      {"--to 100 --slices 1 --threads 1025 --out DIR",
       "--threads needs a number of threads from 0 (one per core) to "},
      {"--to 100 --slices 1 --stamp 2026120612000 --out DIR",
       "--stamp needs a time stamp of 14 digits (YYYYMMDDhhmmss), not '2026120612000'"}};
  for (const auto& [line, error] : cases) {
    const auto result = runMakeSlices(argumentsOf(line, dir.path()));
    EXPECT_EQ(result.exitStatus, 2) << line;
    EXPECT_TRUE(result.err.starts_with("make-slices: " + error)) << result.err;
    EXPECT_EQ(result.err.substr(result.err.find('\n') + 1),
              "Try 'make-slices --help' for more information.\n");
  }
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

// A tmpfs of 64 KiB mounted on folder for this test process alone, in a mount
// namespace of its own that ends with the process.
bool mountSmallDisk(const fs::path& folder) {
  return ::unshare(CLONE_NEWNS) == 0 &&
         ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
         ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
}

TEST(MakeSlices, writesTheSameReportsWithoutThreadsAndOnlyWholeOnesOnAFullDisk) {
  const ScratchDir dir;
  const std::string command = "--to 1e6 --slices 100 --out DIR";
  ASSERT_EQ(runMakeSlices(argumentsOf(command, dir.path() / "whole")).exitStatus, 0);
  const auto whole = contentsOf(dir.path() / "whole");
  // As a user who may start no thread: the caller sieves.
  // (Not under a sanitizer, whose runtime needs a thread of its own.)
  const bool sanitized =
      std::getenv("ASAN_OPTIONS") != nullptr || std::getenv("TSAN_OPTIONS") != nullptr;
  if (!sanitized && ::geteuid() == 0 && std::system("command -v setpriv prlimit >/dev/null") == 0) {
    fs::permissions(dir.path(), fs::perms::all);
    const auto alone = runProgram(
        "/bin/sh",
        {"-c",
         "exec timeout 60 prlimit --nproc=1 setpriv --reuid=54321 --regid=54321 --clear-groups "
         "\"$0\" --to 1e6 --slices 100 --threads 4 --out alone",
         MAKE_SLICES_EXE},
        dir.path().string());
    EXPECT_EQ(alone.exitStatus, 0) << alone.err;
    EXPECT_EQ(contentsOf(dir.path() / "alone"), whole);
  }
  const auto full = dir.path() / "full";
  fs::create_directory(full);
  if (!mountSmallDisk(full)) {
    GTEST_SKIP() << "cannot mount a tmpfs here";
  }
  const auto result = runMakeSlices(argumentsOf(command, full));
  const auto written = contentsOf(full);
  ::umount(full.c_str());
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_TRUE(
      result.err.starts_with("make-slices: cannot write '" + full.string() + "/Tramvelok "));
  EXPECT_TRUE(result.err.ends_with(".txt': No space left on device\n")) << result.err;
  EXPECT_FALSE(written.empty());
  // Only whole reports, no temporary file.
  EXPECT_TRUE(std::includes(whole.begin(), whole.end(), written.begin(), written.end()));
}

TEST(MakeSlices, replacesAReportButNeverALinkOrAFolder) {
  const ScratchDir dir;
  const auto first = dir.write("Tramvelok 1 to 10 20261206120000.txt", "stale");
  const auto target = dir.write("target", "kept");
  fs::create_symlink(target, dir.path() / "Tramvelok 11 to 20 20261206120000.txt");
  fs::create_directory(dir.path() / "Tramvelok 21 to 30 20261206120000.txt");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"0", ""},
      {"1", "'" + (dir.path() / "Tramvelok 11 to 20 20261206120000.txt").string() +
                "': it is a symbolic link\n"},
      {"2", "'" + (dir.path() / "Tramvelok 21 to 30 20261206120000.txt").string() +
                "': it is not a regular file\n"}};
  for (const auto& [index, error] : cases) {
    const auto result = runMakeSlices(
        argumentsOf("--from 1 --to 30 --slices 3 --out DIR --index " + index, dir.path()));
    EXPECT_EQ(result.exitStatus, error.empty() ? 0 : 1) << index;
    EXPECT_EQ(result.err, error.empty() ? "" : "make-slices: cannot write " + error);
  }
  const auto contents = contentsOf(dir.path());
  EXPECT_EQ(contents.size(), 4U);  // no temporary file left
  EXPECT_TRUE(
      contents.at("Tramvelok 1 to 10 20261206120000.txt").ends_with("[1, 1], [2, 2], \r\n"));
  EXPECT_EQ(contents.at("Tramvelok 11 to 20 20261206120000.txt"), "<link>");
  EXPECT_EQ(contents.at("target"), "kept");
}

}  // namespace
}  // namespace gapmerge::test
