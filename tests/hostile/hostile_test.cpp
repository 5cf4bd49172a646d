// Runs over hostile folders and reports: special files, links, loops and deep
// trees, garbled contents, extreme numbers, huge lines, and a merged file that
// meets the file size limit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "tests/support/output.hpp"
#include "tests/support/program.hpp"
#include "tests/support/report_text.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// Primes 2 .. 7, 11 .. 19 and 23 .. 29: two neighbours around a hole.
const std::string firstName = "Tramvelok 1 to 10 20261206120000.txt";
const std::string holeName = "Tramvelok 11 to 20 20261206120000.txt";
const std::string lastName = "Tramvelok 21 to 30 20261206120000.txt";
const std::string firstReport = sliceReport(1, 10, 2, "[1, 1], [2, 2], ");
const std::string holeReport = sliceReport(11, 20, 11, "[2, 2], [4, 1], ");
const std::string lastReport = sliceReport(21, 30, 23, "[6, 1], ");

using Setup = std::function<void(const ScratchDir&)>;

// A hostile folder and how the run over it ends: with its exit status (3 when
// something could not be merged, which standard error sums up), fileout.txt
// ending in "nGaps : total" (when one is given), and `shown` in what --batch
// prints or in fileout.txt.
struct Case {
  std::string what;
  Setup setup;
  int exitStatus;
  std::string total;
  std::string shown;
  std::string alsoShown = {};  // a second text that must be shown, when any
  long long peakKiB = 0;       // a bound of the run's peak memory, when not 0
};

constexpr bool sanitized = GAPMERGE_SANITIZED != 0;  // slower, and its memory says nothing

void expectRuns(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ScratchDir dir;
    c.setup(dir);
    const auto result = runGapmerge({"--batch"}, dir.path().string());
    const std::string merged = readFile(dir.path() / "fileout.txt");
    EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
    EXPECT_TRUE(c.total.empty() || merged.ends_with("\r\nnGaps : " + c.total + "\r\n")) << merged;
    EXPECT_EQ(countOf(result.err, "gapmerge: the result is incomplete: "),
              c.exitStatus == 3 ? 1U : 0U);
    EXPECT_EQ(countOf(result.err, "--range-order"), 0U) << "every case is in range order";
    for (const auto& shown : {c.shown, c.alsoShown}) {
      EXPECT_TRUE(shown.empty() || countOf(result.out + merged, shown) > 0) << result.out;
    }
    if (c.peakKiB > 0 && !sanitized) {
      EXPECT_GT(result.peakMemoryKiB, 0);
      EXPECT_LT(result.peakMemoryKiB, c.peakKiB);
    }
  }
}

// The two neighbours, and a hole that makeHole makes at the hole's path.
Setup aroundHole(const std::function<void(const fs::path&)>& makeHole) {
  return [makeHole](const ScratchDir& dir) {
    dir.write(firstName, firstReport);
    dir.write(lastName, lastReport);
    makeHole(dir.path() / holeName);
  };
}

Setup aroundHole(const std::string& contents) {
  return aroundHole([contents](const fs::path& hole) { std::ofstream(hole) << contents; });
}

Setup reports(const std::vector<std::pair<std::string, std::string>>& namesAndContents) {
  return [namesAndContents](const ScratchDir& dir) {
    for (const auto& [name, contents] : namesAndContents) {
      dir.write(name, contents);
    }
  };
}

TEST(Hostile, specialFilesNamedLikeReportsAreSkipped) {
  const ScratchDir outside;
  const auto elsewhere = outside.write("kept.txt", holeReport);
  const auto link = [](const fs::path& target) {
    return aroundHole([target](const fs::path& hole) { fs::create_symlink(target, hole); });
  };
  std::vector<int> held;
  const auto heldWith = [&held](int lock) {
    return aroundHole([&held, lock](const fs::path& hole) {
      std::ofstream(hole) << holeReport;
      held.push_back(::open(hole.c_str(), O_RDONLY));
      EXPECT_EQ(::flock(held.back(), lock), 0);
    });
  };
  // Nothing of it is merged and no mid gap is formed across it, yet its sections stand.
  const std::string skipped =
      holeName + " : Report could not be opened, nothing merged from " + holeName + "\n\n";
  const std::string kept = "Mid gaps : Gaps (20) [gap, qty]\r\n[1, 1], [2, 2], \r\nTotal 3 gaps";
  // Mid gaps 11 - 7 = 4 and 23 - 19 = 4 join the three reports.
  const std::string joined = "[1, 1], [2, 4], [4, 3], [6, 1], \r\n";
  expectRuns({
      {"a FIFO", aroundHole([](const fs::path& hole) { ::mkfifo(hole.c_str(), 0600); }), 3, "4",
       skipped, kept},
      {"a link to /dev/zero", link("/dev/zero"), 3, "4", skipped, kept},
      {"a dangling link", link("missing.txt"), 3, "4", skipped, kept},
      {"a link to itself", link(holeName), 3, "4", skipped, kept},
      {"a report another program writes", heldWith(LOCK_EX), 3, "4", skipped, kept},
      {"a report another reader holds", heldWith(LOCK_SH), 0, "9", joined},
      {"a link to a report elsewhere", link(elsewhere), 0, "9", joined},
  });
  for (const int fd : held) {
    ::close(fd);
  }
}

// The first report and the hole, each in a folder below, and links made by
// link(folder): each report is read once, mid gap 11 - 7 = 4.
Setup inFolders(const fs::path& first, const fs::path& hole,
                const std::function<void(const fs::path&)>& link = {}) {
  return [=](const ScratchDir& dir) {
    dir.write(first / firstName, firstReport);
    dir.write(hole / holeName, holeReport);
    if (link) {
      link(dir.path());
    }
  };
}

TEST(Hostile, linksToFoldersAreNotFollowedAndDeepTreesAreRead) {
  const ScratchDir elsewhere;
  elsewhere.write(lastName, lastReport);
  fs::path deep;
  for (int level = 0; level < 200; ++level) {
    deep /= "d";
  }
  // The tree is deeper than the number of files the run may have open at once.
  rlimit saved{};
  ::getrlimit(RLIMIT_NOFILE, &saved);
  rlimit lowered = saved;
  lowered.rlim_cur = 64;
  ::setrlimit(RLIMIT_NOFILE, &lowered);
  const std::string once = "FileName : " + holeName + "\n";
  expectRuns({
      {"loops of links",
       inFolders("a", "b",
                 [](const fs::path& root) {
                   fs::create_directory(root / "c");
                   fs::create_symlink("../b", root / "a" / "toB");
                   fs::create_symlink("../a", root / "b" / "toA");
                   fs::create_symlink(".", root / "c" / "self");
                   fs::create_symlink("..", root / "c" / "up");
                   fs::create_symlink(root, root / "d");
                 }),
       0, "7", once},
      {"links to folders in the tree and elsewhere",
       inFolders("real", "real",
                 [&elsewhere](const fs::path& root) {
                   fs::create_symlink("real", root / "Archive");
                   fs::create_symlink(root / "real", root / "Tramvelok linked folder");
                   fs::create_symlink(elsewhere.path(), root / "Tramvelok 21 to 30 folder");
                 }),
       0, "7", once},
      {"folders named like reports",
       inFolders("Tramvelok 1 to 10 folder", "Tramvelok 11 to 20 folder/inner"), 0, "7", once},
      {"a tree 200 levels deep", inFolders(deep, deep / "e"), 0, "7", once},
  });
  ::setrlimit(RLIMIT_NOFILE, &saved);

  // With --follow the link to elsewhere is entered, the link back up is not
  // entered twice: mid gaps 11 - 7 and 23 - 19 join the three reports.
  const ScratchDir linked;
  inFolders("a", "a", [&elsewhere](const fs::path& root) {
    fs::create_symlink(elsewhere.path(), root / "b");
    fs::create_symlink("..", root / "a" / "up");
  })(linked);
  const auto plain = runGapmerge({"--batch"}, linked.path().string());
  EXPECT_TRUE(plain.err.starts_with(
      "gapmerge: 2 links to folders were not followed (--follow follows links)\n"));
  const auto followed = runGapmerge({"--batch", "--follow"}, linked.path().string());
  EXPECT_EQ(followed.exitStatus, 0);
  EXPECT_EQ(countOf(followed.err, "not followed"), 0U);
  EXPECT_EQ(lineAfter(followed.out, "nGaps : "), "9");
}

// As a user who may not list a folder below the run folder, and who may start
// only one thread besides the main one: the rest is merged, and the folder
// named in the warnings, on standard error and by --coverage.
TEST(Hostile, aFolderThatCannotBeListedIsNamed) {
  if (::geteuid() != 0 || std::system("command -v setpriv prlimit >/dev/null") != 0) {
    GTEST_SKIP() << "running as another user needs root, setpriv and prlimit";
  }
  const ScratchDir dir;
  dir.write("open/" + firstName, firstReport);
  dir.write("closed/inner/" + holeName, holeReport);
  fs::permissions(dir.path(), fs::perms::all);
  fs::permissions(dir.path() / "closed", fs::perms::owner_all);
  const auto asAnotherUser = [&dir](const std::string& options) {
    return runProgram("/bin/sh",
                      {"-c",
                       "exec prlimit --nproc=2 setpriv --reuid=54321 --regid=54321 "
                       "--clear-groups \"$0\" $1",
                       GAPMERGE_EXE, options},
                      dir.path().string());
  };
  const auto merged = asAnotherUser("--batch --threads 4");
  EXPECT_EQ(merged.exitStatus, 3);
  EXPECT_EQ(lineAfter(merged.out, "nGaps : "), "3");
  EXPECT_NE(merged.out.find("\nclosed/ : Folder could not be listed (Permission denied), nothing "
                            "merged from it\n\n"),
            std::string::npos)
      << merged.out;
  EXPECT_TRUE(merged.err.ends_with(
      "gapmerge: the result is incomplete: 1 folder could not be listed (see the warnings)\n"));
  const auto coverage = asAnotherUser("--coverage");
  EXPECT_EQ(coverage.exitStatus, 3);
  EXPECT_EQ(coverage.out, "covered: 1 to 10 (1 report)\nunlisted: closed/\n");
}

// Started with every standard stream closed (from cron), the run opens
// /dev/null on them: the folder lock and the temporary fileout.txt take none
// of their numbers, and a CSV for standard output goes nowhere, without error.
TEST(Hostile, closedStandardStreamsLeaveTheRunsFilesAlone) {
  const ScratchDir dir;
  dir.copyExamples();
  ASSERT_EQ(runGapmerge({"--batch", "--quiet"}, dir.path().string()).exitStatus, 0);
  const std::string normal = readFile(dir.path() / "fileout.txt");
  fs::remove(dir.path() / "fileout.txt");
  const auto closed = runProgram(
      "/bin/sh", {"-c", "exec \"$0\" --batch --quiet --csv - <&- >&- 2>&-", GAPMERGE_EXE},
      dir.path().string());
  EXPECT_EQ(closed.exitStatus, 0);
  EXPECT_EQ(readFile(dir.path() / "fileout.txt"), normal);
}

// SIGTERM while the sections are written: the run ends as killed by it, the
// previous fileout.txt stays as it was and no temporary file is left.
TEST(Hostile, aSignalLeavesThePreviousResultAndNoTemporaryFile) {
  const ScratchDir dir;
  std::string table;
  for (int gap = 1; gap <= 1000; ++gap) {
    table += "[" + std::to_string(2 * gap) + ", 1], ";
  }
  for (int k = 0; k < 1000; ++k) {
    dir.write("Tramvelok " + std::to_string(k) + " x.txt",
              "Tramvelok - Total gaps : 1000\nGaps [gap, qty]\n" + table + "\n");
  }
  dir.write("fileout.txt", "previous");
  const auto result = runProgram(
      "/bin/sh",
      {"-c",
       "\"$0\" --batch --quiet >/dev/null & k=0; until ls -a | grep -q '^[.]fileout' || "
       "[ $k -gt 2000 ]; do sleep 0.01; k=$((k+1)); done; kill -TERM $!; wait $!; echo $?",
       GAPMERGE_EXE},
      dir.path().string());
  EXPECT_EQ(result.out, "143\n");
  EXPECT_EQ(readFile(dir.path() / "fileout.txt"), "previous");
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
  }
  // What kill -9 leaves, the next run removes (its reports lack key lines):
  // in its folder, and beside an export it writes, the temporaries of
  // processes that no longer run (no process number reaches 99999999).
  const auto left = {dir.write(".fileout.txt.99999.tmp", "half"),
                     dir.write(".gapmerge-99999999-0.tmp", "half"),
                     dir.write("out/.gapmerge-99999999-1.tmp", "half")};
  const auto running = dir.write(".gapmerge-" + std::to_string(::getpid()) + "-0.tmp", "");
  EXPECT_EQ(runGapmerge({"--batch", "--csv", "out/c.csv"}, dir.path().string()).exitStatus, 3);
  for (const auto& file : left) {
    EXPECT_FALSE(fs::exists(file)) << file;
  }
  EXPECT_TRUE(fs::exists(running));
}

TEST(Hostile, garbledContentsAreReadAsFarAsTheyGo) {
  std::mt19937 generator(20261206);  // NOLINT(cert-msc32-c,cert-msc51-cpp): the same every run
  std::string garbage(1'000'000, '\0');
  std::ranges::generate(garbage, [&generator] { return static_cast<char>(generator()); });
  // A hole without any known line is named for each, forms no mid gap and
  // cuts the chain: 3 gaps before it, 1 after it.
  const std::string unread = "Line \"First prime in range :\" missing in " + holeName + "\n";
  expectRuns({
      {"zero bytes", aroundHole(""), 3, "4", unread},
      {"a CR in a name", reports({{"Tramvelok 1 to 10\r.txt", firstReport}}), 0, "3",
       "\n.txt\nOut"},
      {"binary garbage", aroundHole(garbage), 3, "4", unread},
      {"keys behind blanks and in other case",
       aroundHole(" nmin = 11\nFIRST PRIME IN RANGE : 11\ngaps [gap, qty]\n[2, 2]\n"), 3, "4",
       unread},
      // The table line ends inside the second item: (4, 0) counts nothing.
      {"NUL bytes ending lines",
       reports({{firstName,
                 "First prime in range : 2\0Last prime in range : 7\0Gaps [gap, "
                 "qty]\0[1, 1], [2, 2], \0\0\0\0"s},
                {holeName,
                 "First prime in range : 11\0Last prime in range : 19\0Gaps [gap, "
                 "qty]\n[2, 2], [4\0, 1], \n"s}}),
       3, "6", "Mid gaps : Gaps (20) [gap, qty]\r\n[1, 1], [2, 4], [4, 1], \r\n"},
      // The key of the first line is not seen: nmin stays the first report's.
      {"a UTF-8 byte order mark",
       reports({{firstName, firstReport}, {holeName, "\xEF\xBB\xBF" + holeReport}}), 3, "7",
       holeName + " : min-max values do not match in " + holeName + "\n",
       "Line \"nmin =\" missing in " + holeName + "\n"},
  });
}

// Copies of the examples, one cut short inside its gap table (a sieve killed
// while writing) and one with a NUL byte in its table: each is named, after
// its other warning, in the entry it has anyway: its table does not add up to
// its gaps, and its gaps do not span its primes.
TEST(Hostile, reportsThatDoNotAddUpAreNamed) {
  const std::string first = "Tramvelok 1 to 10.000.000 20261206120000.txt";
  const std::string third = "Tramvelok 20.000.001 to 30.000.000 20261206120000.txt";
  const auto damage = [&](const ScratchDir& dir) {
    dir.copyExamples();
    fs::resize_file(dir.path() / first, 700);
    std::string text = readFile(dir.path() / third);
    text[600] = '\0';
    dir.write(third, text);
  };
  const auto entry = [](const std::string& name, const std::string& deviation) {
    return "\n" + name + " : warning : " + deviation + "\t" + name +
           "\nGap table and nGaps values do not match in " + name +
           "\nGap table and first/last prime values do not match in " + name + "\n\n";
  };
  expectRuns({{"a report cut short and one with a NUL byte", damage, 3, "",
               entry(first, "0.004690187322"), entry(third, "0.003799050493")}});
}

TEST(Hostile, extremeNumbersWrapOrCountOnlyWhereTheyFit) {
  expectRuns({
      // 2^64 + k reads as k; 2^63 reads as -2^63, and three of them wrap to it
      // again. The second report has no first prime, so no mid gap.
      {"numbers beyond 64 bits",
       reports({{"Tramvelok 18446744073709551617 to 18_446_744_073_709_551_626 x.txt",
                 "nmin = 18.446.744.073.709.551.617\nnmax = 18446744073709551626\n"
                 "First prime in range : 18446744073709551618\n"
                 "Last prime in range : 18446744073709551623\nGaps [gap, qty]\n"
                 "[18446744073709551618, 3], [2, 18446744073709551621], \n"},
                {"Tramvelok 21 to 30 x.txt",
                 "nmin = 21\nnmax = 30\nGaps [gap, qty]\n[6, 9223372036854775808], "
                 "[4, 9223372036854775808], [4, 9223372036854775808], \n"}}),
       3, "-9223372036854775800", "\r\nnGaps = -9223372036854775800\r\n"},
      {"quantities that sum to 0",
       reports({{"Tramvelok 1 to 10 x.txt", "Gaps [gap, qty]\n[2, 1], [4, -1], \n"}}), 3, "0",
       "Normalized cumulative gaps\r\n\r\n[2, +Infinity], [4, NaN], \r\n"},
      // Gap -6 counts only in the running total: -3 + 1 + 5 = 3.
      {"negative gaps and quantities",
       reports({{"Tramvelok 1 to 10 x.txt", "Gaps [gap, qty]\n[2, -3], [4, 1], [-6, 5], \n"}}), 3,
       "-2", "\r\nnGaps = 3\r\n"},
      // Gaps above 2000 and the mid gap 3011 - 7 = 3004 count only in the running total.
      {"gaps above 2000",
       reports({{"Tramvelok 1 to 10 x.txt",
                 "First prime in range : 2\nLast prime in range : 7\n"
                 "Gaps [gap, qty]\n[2, 1], [2000, 1], [2001, 4], [5000, 2], \n"},
                {"Tramvelok 3001 to 4000 x.txt",
                 "First prime in range : 3011\nLast prime in range : 3989\n"
                 "Gaps [gap, qty]\n[6, 1], \n"}}),
       3, "3", "\r\n1 - 4.000\r\n\r\nnGaps = 10\r\n"},
  });
}

// Memory that runs out while 20.000 reports are merged (the address space
// limited to what the program needs to start, found by trying, and 8 to 32
// MiB more, which runs out in different places): one line, exit 1, the
// previous fileout.txt and no temporary file.
TEST(Hostile, memoryThatRunsOutEndsTheRunInOneLineAndKeepsThePreviousResult) {
  if (sanitized) {
    GTEST_SKIP() << "the sanitizers reserve more address space than any limit allows";
  }
  const ScratchDir dir;
  for (int k = 0; k < 20000; ++k) {
    dir.write("Tramvelok " + std::to_string(k) + " x.txt", "Tramvelok - Total gaps : 1\n");
  }
  dir.write("fileout.txt", "previous");
  const auto result = runProgram(
      "/bin/sh",
      {"-c",
       "v=4096; until (ulimit -v $v; \"$0\" --version) >/dev/null 2>&1; do v=$((v+4096)); "
       "done; for more in 8192 16384 24576 32768; do (ulimit -v $((v+more)); \"$0\" --batch "
       "--quiet --csv c.csv 2>&1; echo \"exit $?\"); done",
       GAPMERGE_EXE},
      dir.path().string());
  const std::string ended = "gapmerge: out of memory\nexit 1\n";
  EXPECT_EQ(result.out, ended + ended + ended + ended);
  EXPECT_EQ(readFile(dir.path() / "fileout.txt"), "previous");
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
  }
}

// A write that fails where the closing sections begin, or later, leaves the
// previous fileout.txt as it was, or none when there was none, and says so.
TEST(Hostile, aMergedFileCutByTheFileSizeLimitNeverReplacesTheLastOne) {
  const ScratchDir dir;
  aroundHole(holeReport)(dir);
  const auto limited = [&dir](std::size_t limit) {
    return runGapmerge({"--batch"}, dir.path().string(),
                       {.fileSizeLimit = static_cast<long long>(limit)});
  };
  EXPECT_EQ(limited(100).exitStatus, 1);
  EXPECT_FALSE(fs::exists(dir.path() / "fileout.txt"));
  ASSERT_EQ(runGapmerge({"--batch"}, dir.path().string()).exitStatus, 0);
  const std::string whole = readFile(dir.path() / "fileout.txt");
  const std::string separator(63, '-');
  const std::size_t closing = whole.rfind(separator + "\r\n") + separator.size() + 2;
  for (const std::size_t limit : {closing, closing + 1, whole.size() - 1, whole.size()}) {
    SCOPED_TRACE("limit " + std::to_string(limit) + " of " + std::to_string(whole.size()));
    const bool cut = limit < whole.size();
    const auto result = limited(limit);
    EXPECT_EQ(result.exitStatus, cut ? 1 : 0);
    EXPECT_EQ(result.out.ends_with("fileout.txt : Merged results file is incomplete, writing "
                                   "failed in " +
                                   dir.asWorkingDirectory() + "\n\n"),
              cut)
        << result.out;
    EXPECT_EQ(countOf(result.err, "; the previous fileout.txt was kept\n"), cut ? 1U : 0U);
    EXPECT_EQ(readFile(dir.path() / "fileout.txt"), whole);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4);
}

// A report of head and then piece times over, written in blocks of about a megabyte.
Setup hugeReport(const std::string& head, const std::string& piece, std::size_t times) {
  return [=](const ScratchDir& dir) {
    std::ofstream out(dir.path() / firstName, std::ios::binary);
    out << head;
    const std::size_t perBlock = (std::size_t{1} << 20U) / piece.size();
    std::string block;
    for (std::size_t i = 0; i < perBlock; ++i) {
      block += piece;
    }
    for (std::size_t done = 0; done < times; done += perBlock) {
      out.write(block.data(),
                static_cast<std::streamsize>(std::min(perBlock, times - done) * piece.size()));
    }
  };
}

// A reader that is not linear in its input would take hours here; one that
// held a line of 200 MB whole would run out of its bound. Lines are cut at
// 2^26 bytes: after 8 bytes of text, 7,456,539 items of 9 bytes and the first
// 5 bytes of one more, "[2, 1", which is dropped. They do not add up to nGaps.
TEST(Hostile, hugeLinesAndManyLinesAreReadInBoundedMemory) {
  constexpr std::size_t line = 200'000'000;
  constexpr long long lineBound = 160 * 1024;
  expectRuns({
      {"one line of 200 MB of digits", hugeReport("", "7777777777", line / 10), 3, "0", "", "",
       lineBound},
      {"a gap table line of 200 MB", hugeReport("Gaps [gap, qty]\nabcdefgh", "[2, 10], ", line / 9),
       3, "74565390", "Gap table and nGaps values do not match", "", lineBound},
      {"a million short lines", hugeReport("", "Gaps [gap, qty]\n[2, 1], \n", 500'000), 3, "500000",
       "", "", 64 * 1024},
  });
}

}  // namespace
}  // namespace gapmerge::test
