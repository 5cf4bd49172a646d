// Whole runs of the program: the merged file and the batch text of a small run
// written out by hand, its command line, the order in which it reads the reports
// and the warnings where slices do not join, a merged file it cannot write,
// formatting threads, progress, two runs at once, and the exports.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <future>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/progress_line.hpp"
#include "tests/support/output.hpp"
#include "tests/support/program.hpp"
#include "tests/support/report_text.hpp"
#include "tests/support/scratch_dir.hpp"
#include "tests/support/worked_example.hpp"

namespace gapmerge::test {
namespace {

// The same text with LF line ends, as the batch view prints it.
std::string withLf(std::string text) {
  std::erase(text, '\r');
  return text;
}

TEST(WorkedExample, oneReportGivesSixtySixLines) {
  ScratchDir dir;
  const std::string name = "Tramvelok 1 to 30 20261206120000.txt";
  dir.write(name,
            "nmin = 1\r\nnmax = 30\r\nTramvelok - found 10 primes\r\n"
            "Tramvelok - 10 primes in 0.001s\r\nTramvelok - Total gaps : 9\r\n"
            "... good guess\r\n... excellent\r\n"
            "First prime in range : 2\r\nLast prime in range : 29\r\n"
            "Gaps [gap, qty]\r\n[1, 1], [2, 4], [4, 3], [6, 1], \r\n");
  const auto result = runGapmerge({"--batch"}, dir.path().string());

  const std::string closing = crlfLines({"1 - 30", "", "nGaps = 9", ""}) + oneReportSummary;
  EXPECT_EQ(readFile(dir.path() / "fileout.txt"), oneReportSections + closing);
  // The estimate for 1 to 30 rounds to 16 primes against 10 found.
  const std::string warnings = name + " : warning : 0.600000000000\t" + name + "\n\n";
  EXPECT_EQ(result.out, withLf(oneReportSummary) + "FileName : " + name +
                            "\nOutputDirectory : " + dir.asWorkingDirectory() + "\n" + warnings);
  EXPECT_EQ(result.exitStatus, 0);
}

std::string joinWarning(const std::string& name, long long midGap, const std::string& previous) {
  return name + " : Slices do not join: mid gap " + std::to_string(midGap) + " after " + previous +
         "\n\n";
}

// Primes 2 to 7 and 23 to 29 in two reports.
void writeFirstAndLast(const ScratchDir& dir) {
  dir.write("Tramvelok 1 to 10 20261206120000.txt", sliceReport(1, 10, 2, "[1, 1], [2, 2], "));
  dir.write("Tramvelok 21 to 30 20261206120000.txt", sliceReport(21, 30, 23, "[6, 1], "));
}

// Every file below folder with its bytes.
std::map<std::string, std::string> snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    files[entry.path().string()] = entry.is_symlink() ? "link" : readFile(entry.path());
  }
  return files;
}

// Each usage error is one line naming the option and what it takes, then the
// hint; an export that would replace fileout.txt, a report (by name, through a
// link or ".." alike) or another export is one, before anything is touched.
TEST(CommandLine, usageErrorsNameTheOptionAndTouchNothing) {
  const ScratchDir dir;
  writeFirstAndLast(dir);
  dir.write("fileout.txt", "previous");
  std::filesystem::create_symlink("Tramvelok 1 to 10 20261206120000.txt", dir.path() / "toReport");
  const auto before = snapshot(dir.path());
  const std::string threads =
      std::to_string(std::min(1024U, 8 * std::max(1U, std::thread::hardware_concurrency())));
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--frobnicate"}, "unknown option '--frobnicate'"},
      {{"--jsn", "a.json"}, "unknown option '--jsn'"},
      {{"-c", "DIR"}, "unknown option '-c'"},
      {{"--batch", "extra"},
       "unexpected argument 'extra' (a FOLDER is taken only with --choose-folder)"},
      {{"-C"}, "--directory needs a directory DIR"},
      {{"--batch", "-C", "no/such/dir"},
       "cannot enter directory 'no/such/dir': No such file or directory"},
      {{"--batch", "-C=-dash"}, "cannot enter directory '-dash': No such file or directory"},
      {{"--batch", "--coverage"}, "--batch cannot be combined with --coverage"},
      {{"--coverage", "--range-order"}, "--range-order cannot be combined with --coverage"},
      {{"--batch", "--csv", "-", "--json", "-"},
       "--csv and --json cannot both write to standard output"},
      {{"--batch", "--csv", "/dev/stdout", "--json", "/dev/fd/1"},
       "--csv and --json cannot both write to standard output"},
      {{"--batch", "--plot", "g.jpg"},
       "--plot needs a file name ending in .png or .svg, not 'g.jpg'"},
      {{"--batch", "--plot", "g.png", "--plot-size", "0x10"},
       "--plot-size needs WIDTHxHEIGHT, each from 1 to 20000, not '0x10'"},
      {{"--batch", "--plot-size", "640X480"}, "--plot-size needs --plot"},
      {{"--batch", "--verify", "0"},
       "--verify needs a number of reports above 0 or 'all', not '0'"},
      {{"--batch", "--verify", "1", "--seed", "18446744073709551616"},
       "--seed needs a whole number from 0 to 18446744073709551615, not '18446744073709551616'"},
      {{"--batch", "--verify-limit", "5"}, "--verify-limit needs --verify"},
      {{"--batch", "--count-limit", "-1"},
       "--count-limit needs a whole number (0: count no primes), not '-1'"},
      {{"--batch", "--threads", "0"},
       "--threads needs a number of threads from 1 to " + threads + ", not '0'"},
      {{"--batch", "--csv", "--json"},
       "--csv needs a file name, not '--json' (write --csv=--json for a file of that name)"},
      {{"--batch", "--json", ""}, "--json needs a file name (or - for standard output), not ''"},
      {{"--batch", "--csv", "a", "--csv", "b"}, "--csv is given more than once"},
      {{"--batch", "--quiet", "--progress"}, "--progress cannot be combined with --quiet"},
      {{"--coverage", "--verify", "all"}, "--verify cannot be combined with --coverage"},
      {{"--batch", "--csv", "sub/../fileout.txt"},
       "--csv sub/../fileout.txt would replace the merged results file"},
      {{"--batch", "--json", "toReport"}, "--json toReport would replace a slice report"},
      {{"--batch", "--csv", "new/Tramvelok 2"},
       "--csv new/Tramvelok 2 would replace a slice report"},
      {{"--batch", "--json", "../sib/fileout.txt"},
       "--json ../sib/fileout.txt would replace a merged results file"},
      {{"--batch", "--csv", "../sib/Tramvelok 1 to 9 x.txt"},
       "--csv ../sib/Tramvelok 1 to 9 x.txt would replace a slice report"},
      {{"--batch", "--plot", "o.png", "--json", dir.asWorkingDirectory() + "o.png"},
       "--plot o.png would replace the file of --json"},
  };
  for (const auto& [arguments, line] : cases) {
    const auto result = runGapmerge(arguments, dir.path().string());
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.err, "gapmerge: " + line + "\nTry 'gapmerge --help' for more information.\n");
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(snapshot(dir.path()), before);
}

// Help and version; a run without a report is incomplete; what cannot be
// written to standard output fails the run.
TEST(CommandLine, helpVersionAndAFullStandardOutput) {
  EXPECT_NE(runGapmerge({"--help"}).out.find("--range-order"), std::string::npos);
  EXPECT_TRUE(runGapmerge({"--version"}).out.starts_with("gapmerge "));
  const ScratchDir dir;
  const auto none = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(none.exitStatus, 3);
  EXPECT_EQ(none.err, "gapmerge: the result is incomplete: no report found\n");
  writeFirstAndLast(dir);
  for (const char* options : {"--help", "--version", "--coverage", "--batch"}) {
    const auto full = runProgram(
        "/bin/sh", {"-c", "exec \"$0\" $1 >/dev/full", GAPMERGE_EXE, options}, dir.path().string());
    EXPECT_EQ(full.exitStatus, 1) << options;
    EXPECT_TRUE(
        full.err.ends_with("gapmerge: cannot write standard output: No space left on device\n"))
        << full.err;
  }
}

// The gap from 2 to 3 joins two slices; primes to 31 overlap the next slice's
// first prime; after 59 a hole to 5003.
TEST(SliceJoin, anOverlapAndAHoleEachWarnOnceNamingTheReportAfterThem) {
  const ScratchDir dir;
  const std::string first = "Tramvelok 3 to 30 20261206120000.txt";
  const std::string second = "Tramvelok 31 to 60 20261206120000.txt";
  const std::string afterHole = "Tramvelok 5.000 to 5.100 20261206120000.txt";
  dir.write("Tramvelok 1 to 2 20261206120000.txt", sliceReport(1, 2, 2, ""));
  dir.write(first, sliceReport(3, 30, 3, "[2, 5], [4, 3], [6, 1], "));
  dir.write(second, sliceReport(31, 60, 31, "[6, 3], [4, 2], [2, 1], "));
  dir.write(afterHole, sliceReport(5000, 5100, 5003, "[6, 3], [4, 2], [2, 1], [8, 1], "));
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(countOf(result.out, "Slices do not join"), 2U);
  EXPECT_EQ(countOf(result.out, joinWarning(second, 0, first)), 1U);
  EXPECT_EQ(countOf(result.out, joinWarning(afterHole, 5003 - 59, second)), 1U);
  EXPECT_TRUE(readFile(dir.path() / "fileout.txt").ends_with("nGaps : 24\r\n"));
}

// While another run holds the folder, fileout.txt is neither replaced nor
// written; the run says so in its first warning entry and fails.
TEST(MergedFile, aFolderHeldByAnotherRunOrALinkAtItsPlaceFailsTheRun) {
  const ScratchDir dir;
  writeFirstAndLast(dir);
  const auto held = dir.write("fileout.txt", "kept");
  const int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  ::close(fd);
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(readFile(held), "kept");
  const std::string folder = dir.asWorkingDirectory();
  EXPECT_EQ(countOf(result.out,
                    "nGaps : 5\nFileName : Tramvelok 21 to 30 20261206120000.txt\n"
                    "OutputDirectory : " +
                        folder + "\nfileout.txt : Merged results file could not be created in " +
                        folder + "\n\n"),
            1U)
      << result.out;
  EXPECT_EQ(countOf(result.err, "\ngapmerge: cannot create " + folder +
                                    "fileout.txt: another run holds the folder\n"),
            1U);
  // A link at fileout.txt is neither written through nor replaced.
  std::filesystem::remove(held);
  std::filesystem::create_symlink("Tramvelok 21 to 30 20261206120000.txt", held);
  const auto linked = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(linked.exitStatus, 1);
  EXPECT_EQ(countOf(linked.err,
                    "\ngapmerge: cannot create " + folder + "fileout.txt: it is a symbolic link\n"),
            1U);
  EXPECT_EQ(readFile(held), sliceReport(21, 30, 23, "[6, 1], "));
}

// 151 reports of 200 gap sizes fill several batches of sections; every
// tenth is a dangling link. One formatting thread or three: the same bytes.
TEST(MergedFile, formattingThreadsDoNotChangeABit) {
  const ScratchDir dir;
  for (int slice = 0; slice < 151; ++slice) {
    const std::string name = "Tramvelok " + std::to_string(slice) + " to 1 x.txt";
    if (slice % 10 == 3) {
      std::filesystem::create_symlink("missing", dir.path() / name);
      continue;
    }
    std::string table;
    for (int gap = 1; gap <= 200; ++gap) {
      table +=
          "[" + std::to_string(gap * (slice % 3 + 1)) + ", " + std::to_string(gap + slice) + "], ";
    }
    dir.write(name, sliceReport(slice, 1, 100 * slice + 1, table));
  }
  const auto one = runGapmerge({"--batch", "--threads", "1"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  const auto three = runGapmerge({"--batch", "--threads", "3"}, dir.path().string());
  EXPECT_EQ(countOf(one.out, "Report could not be opened"), 15U);
  EXPECT_EQ(one.out, three.out);
  EXPECT_GT(merged.size(), 3000000U);
  EXPECT_TRUE(merged == readFile(dir.path() / "fileout.txt"));
}

// Progress goes to standard error only when asked for, as plain lines when
// it is not a terminal.
TEST(CommandLine, progressLinesOnlyWhenAskedFor) {
  const ScratchDir dir;
  writeFirstAndLast(dir);
  const auto quiet = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(countOf(quiet.err, "reports merged"), 0U);
  const auto lines = runGapmerge({"--batch", "--progress"}, dir.path().string());
  EXPECT_TRUE(lines.err.starts_with("gapmerge: 2 of 2 reports merged, 0.0 MB written, "));
  EXPECT_TRUE(lines.err.ends_with(" reports/s\n" + quiet.err)) << lines.err;
  EXPECT_EQ(lines.out, quiet.out);
}

// Two runs read the same reports at the same time, each into the fileout.txt
// of its own folder: neither shuts the other out of a report. The outer run
// is stopped while it merges (the shell fails when it never saw it merging),
// the inner run merges the shared reports whole, then the outer one goes on.
// Counts and rates grouped by threes; once only verification runs, the
// reports counted and their rate are the verified ones.
TEST(CommandLine, progressTextGroupsRatesAndCountsWhatStillRuns) {
  using gapmerge::RunProgress;
  const std::vector<std::tuple<RunProgress, double, std::string>> cases{
      {{412000, 1000000, 1356800000, {}, false},
       20,
       "gapmerge: 412.000 of 1.000.000 reports merged, 1356.8 MB written, 20.600 reports/s, "
       "0:29 left"},
      {{500, 1000, 2000000, {50, 5, 1000000000}, false},
       10,
       "gapmerge: 500 of 1.000 reports merged, 2.0 MB written, 50 reports/s, 5 of 50 verified, "
       "100.000.000 integers/s, 0:10 left"},
      {{1000, 1000, 2000000, {50, 10, 1560000000}, false},
       5,
       "gapmerge: 1.000 reports merged, 2.0 MB written, 10 of 50 reports verified, 2 reports/s, "
       "312.000.000 integers/s, 0:20 left"},
  };
  for (const auto& [progress, seconds, line] : cases) {
    EXPECT_EQ(gapmerge::progressText(progress, seconds), line);
  }
}

TEST(MergedFile, twoRunsReadTheSameReportsAtOnce) {
  const ScratchDir dir;
  constexpr int shared = 2000;
  for (int slice = 0; slice < 5 * shared; ++slice) {
    dir.write((slice < shared ? "A/" : "B/") + std::string("Tramvelok ") + std::to_string(slice) +
                  " to 1 x.txt",
              "Tramvelok - Total gaps : 1\nGaps [gap, qty]\n[2, 1], \n");
  }
  const auto result = runProgram(
      "/bin/sh",
      {"-c",
       "\"$0\" --batch >outer & until ls -a | grep -q '^[.]fileout'; do kill -0 $! || exit 9; "
       "done; kill -STOP $!; \"$0\" --batch -C A >inner; kill -CONT $!; wait $!",
       GAPMERGE_EXE},
      dir.path().string());
  EXPECT_EQ(result.exitStatus, 3);  // the outer run's: its reports lack key lines
  EXPECT_EQ(lineAfter(readFile(dir.path() / "inner"), "nGaps : "), std::to_string(shared));
  EXPECT_EQ(lineAfter(readFile(dir.path() / "outer"), "nGaps : "), std::to_string(5 * shared));
}

using Json = nlohmann::json;

// Primes below 10^8: 5,761,455, so 5,761,454 gaps; 440,312 twin prime pairs.
// The exports of a real run hold the numbers of its merged file; the run's
// other texts are the same with them or without.
TEST(Exports, examplesHoldThePublishedCountsAndTheNumbersOfTheMergedFile) {
  const ScratchDir dir;
  dir.copyExamples();
  const auto plain = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  const auto result =
      runGapmerge({"--batch", "--csv", "g.csv", "--json", "g.json"}, dir.path().string());
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, plain.out);
  EXPECT_EQ(readFile(dir.path() / "fileout.txt"), merged);
  std::istringstream csv(readFile(dir.path() / "g.csv"));
  std::string counts;
  std::string row;
  std::getline(csv, row);
  while (std::getline(csv, row)) {
    const auto comma = row.find(',');
    counts += "[" + row.substr(0, comma) + ", " +
              row.substr(comma + 1, row.find(',', comma + 1) - comma - 1) + "], ";
  }
  EXPECT_EQ(counts, lineAfter(merged, "\r\nGaps [gap, qty]\r\n\r\n"));
  const Json json = Json::parse(readFile(dir.path() / "g.json"));
  EXPECT_EQ(json["gaps"], 5761454);
  EXPECT_EQ(json["histogram"][1], Json::parse("[2, 440312]"));
  EXPECT_EQ(json["merged_file"],
            Json({{"path", dir.asWorkingDirectory() + "fileout.txt"}, {"complete", true}}));

  // /dev/fd/N is the descriptor as it stands, as - is standard output: the
  // descriptor's file gets the bytes, nothing in /dev/fd is replaced.
  const auto throughDescriptor = runProgram(
      "/bin/sh", {"-c", "exec \"$0\" --batch --quiet --csv /dev/fd/3 3>d.csv", GAPMERGE_EXE},
      dir.path().string());
  EXPECT_EQ(throughDescriptor.exitStatus, 0) << throughDescriptor.err;
  EXPECT_EQ(readFile(dir.path() / "d.csv"), readFile(dir.path() / "g.csv"));
}

// fileout.txt and the exports replace the files that stand there whole: a
// replaced file keeps its permission bits, a link is replaced and what it
// leads to left as it was.
TEST(Exports, aReplacedFileKeepsItsPermissionsAndALinkIsNotWrittenThrough) {
  namespace fs = std::filesystem;
  const ScratchDir dir;
  writeFirstAndLast(dir);
  const auto outside = dir.write("outside/kept.csv", "kept");
  fs::create_symlink(outside, dir.path() / "g.csv");
  for (const auto& [name, perms] :
       {std::pair{"fileout.txt", fs::perms(0640)}, std::pair{"g.json", fs::perms(0604)}}) {
    fs::permissions(dir.write(name, "old"), perms);
  }
  // 3: the two slices leave the primes 11 to 19 out.
  EXPECT_EQ(runGapmerge({"--batch", "--csv", "g.csv", "--json", "g.json"}, dir.path().string())
                .exitStatus,
            3);
  EXPECT_EQ(fs::status(dir.path() / "fileout.txt").permissions(), fs::perms(0640));
  EXPECT_EQ(fs::status(dir.path() / "g.json").permissions(), fs::perms(0604));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.path() / "g.csv")));
  EXPECT_EQ(readFile(outside), "kept");
}

TEST(Exports, anExportThatCannotBeWrittenLeavesNoFileAndExitsOne) {
  const ScratchDir dir;
  dir.write("Tramvelok 1 to 10 x.txt", "Gaps [gap, qty]\n[1, 1], [2, 2], \n");
  dir.write("taken/file", "");
  const auto plain = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  const auto result =
      runGapmerge({"--batch", "--csv", "taken", "--json", "missing/g.json"}, dir.path().string());
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, plain.out);
  EXPECT_NE(result.err.find("gapmerge: cannot write taken: Is a directory\n"), std::string::npos);
  EXPECT_NE(result.err.find("gapmerge: cannot write missing/g.json: No such file or directory\n"),
            std::string::npos);
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"Tramvelok 1 to 10 x.txt", "fileout.txt", "taken"}));
  EXPECT_EQ(readFile(dir.path() / "fileout.txt"), merged);
}

}  // namespace
}  // namespace gapmerge::test
