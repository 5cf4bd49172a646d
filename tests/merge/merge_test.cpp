// Report discovery and order, report parsing and the per-report checks.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "merge/checks.hpp"
#include "merge/discovery.hpp"
#include "merge/gap_stats.hpp"
#include "merge/ordering.hpp"
#include "merge/report.hpp"
#include "render/messages.hpp"
#include "tests/support/scratch_dir.hpp"
#include "text/number_format.hpp"

namespace gapmerge::test {
namespace {

using Paths = std::vector<std::string>;

Paths pathsOf(const ReportList& list) {
  Paths paths;
  for (std::size_t i = 0; i < list.size(); ++i) {
    paths.emplace_back(list.pathView(i));
  }
  return paths;
}

Paths ordered(const Paths& paths) {
  ReportList list;
  for (const auto& path : paths) {
    list.add(path);
  }
  orderReports(list);
  return pathsOf(list);
}

Paths found(const ScratchDir& dir) {
  return pathsOf(findReports(dir.asWorkingDirectory()).reports);
}

// The path under which the scan lists a file found below the scratch folder.
std::string listed(const ScratchDir& dir, const std::string& relative) {
  return dir.asWorkingDirectory() + "/" + relative;
}

// "_" reads as "#" and "/" as a backslash: such paths have equal keys and
// keep their discovery order, however many there are.
TEST(OrderReports, equalKeysKeepTheirDiscoveryOrder) {
  Paths reports = {"/w//x/T", "/w//x\\T"};
  Paths expected;
  for (int n = 99; n >= 10; --n) {
    const std::string first = "/w//T " + std::to_string(n) + (n % 2 == 0 ? "_" : "#");
    const std::string second = "/w//T " + std::to_string(n) + (n % 2 == 0 ? "#" : "_");
    reports.insert(reports.end(), {first, second});
    expected.insert(expected.begin(), {first, second});
  }
  expected.insert(expected.end(), {"/w//x/T", "/w//x\\T"});
  EXPECT_EQ(ordered(reports), expected);
}

TEST(OrderReports, namesCompareAsUtf16CodeUnits) {
  const std::string latin = "/w//Tramvelok \xC3\xA9";                  // U+00E9
  const std::string belowSurrogates = "/w//Tramvelok \xED\x9F\xBF";    // U+D7FF
  const std::string supplementary = "/w//Tramvelok \xF0\x9F\x98\x80";  // U+1F600
  const std::string privateUse = "/w//Tramvelok \xEE\x80\x80";         // U+E000
  const std::string lastOfPlane = "/w//Tramvelok \xEF\xBF\xBF";        // U+FFFF
  EXPECT_EQ(ordered({lastOfPlane, privateUse, supplementary, belowSurrogates, latin}),
            (Paths{latin, belowSurrogates, supplementary, privateUse, lastOfPlane}));
}

// Case-sensitive prefix; "_" sorts below "." and digits, subfolders against
// top-level reports as if "\" separated them.
TEST(FindReports, reportsBelowTheFolderInProcessingOrder) {
  const ScratchDir dir;
  const Paths reports = {".hidden/Tramvelok h",
                         "Archive_x/Tramvelok 4",
                         "Archive0/Tramvelok 2",
                         "Archive/Tramvelok 1",
                         "Archive/old/Tramvelok 0",
                         "Tramvelok 1",
                         "Tramvelok 1_0",
                         "Tramvelok 1.0",
                         "Tramvelok 10",
                         "Tramvelok 2",
                         "Tramvelok dir/Tramvelok inner",
                         "Tramvelok.x",
                         "zz/Tramvelok 0"};
  Paths expected;
  for (const auto& name : reports) {
    dir.write(name, "");
    expected.push_back(listed(dir, name));
  }
  for (const char* name : {"tramvelok x", "xTramvelok 1", " Tramvelok", "Tramvelok dir/notes"}) {
    dir.write(name, "");
  }
  std::filesystem::create_directories(dir.path() / "Tramvelok dir" / "Tramvelok empty");
  EXPECT_EQ(found(dir), expected);
}

// Folders nested deeper than the longest path the system resolves cannot be
// listed by path, even by the superuser; the scan names the first and goes on
// past it.
TEST(FindReports, foldersBeyondThePathLimitDoNotStopTheScan) {
  const ScratchDir dir;
  dir.write("Tramvelok top", "");
  dir.write("zz/Tramvelok after", "");
  Paths expected = {listed(dir, "Tramvelok top"), listed(dir, "zz/Tramvelok after")};
  const std::string name(200, 'd');
  const std::string report = "Tramvelok deep";
  std::vector<int> chain{::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  std::string folder;
  while (chain.size() <= 30 && chain.back() >= 0) {
    ::mkdirat(chain.back(), name.c_str(), 0700);
    chain.push_back(::openat(chain.back(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ::close(::openat(chain.back(), report.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    folder += name + "/";
    if (listed(dir, folder + report).size() < PATH_MAX) {
      expected.push_back(listed(dir, folder + report));
    }
  }
  const Discovery discovery = findReports(dir.asWorkingDirectory());
  const Paths reports = pathsOf(discovery.reports);
  for (std::size_t level = chain.size() - 1; level > 0; --level) {
    ::unlinkat(chain[level], report.c_str(), 0);
    ::close(chain[level]);
    ::unlinkat(chain[level - 1], name.c_str(), AT_REMOVEDIR);
  }
  ::close(chain.front());
  ASSERT_EQ(chain.size(), 31U);
  ASSERT_LT(expected.size(), 32U);
  for (const auto& path : expected) {
    EXPECT_EQ(std::count(reports.begin(), reports.end(), path), 1) << path.size();
  }
  // The first folder too deep to list is named, relative to the run folder.
  ASSERT_EQ(discovery.unlisted.size(), 1U);
  EXPECT_EQ(discovery.unlisted[0].reason, "File name too long");
  EXPECT_EQ(discovery.unlisted[0].path.size() % (name.size() + 1), 0U);
}

void parse(const std::string& bytes, ReportRecord& record, GapStats& stats) {
  const test::ScratchDir dir;
  ReportReading reading;
  readReport(dir.write("Tramvelok report.txt", bytes).string(), reading);
  ASSERT_TRUE(reading.opened);
  applyReading(reading, record);
  addGapTable(stats, reading.gapSums, reading.gapTableSum);
}

// Keys match exactly at the line start, numbers may be grouped with "." and
// the last line of a key wins; the " primes in " count lies between the first
// two dashes; the grade words may stand anywhere.
TEST(ReportParser, keyLines) {
  ReportRecord record;
  GapStats stats;
  parse(
      "nmin = 1.000.000.000\r\n nmin = 5\nnmin =7\nNmax = 5\nnmax = 1,000\r"
      "Tramvelok - found 1.234.567 primes in the range\r\n"
      "Tramvelok - 78.498 - 2 primes in 0.25s\r\nTramvelok - Total gaps : 1.234.566\r\n"
      "First prime in range : x12\nLast prime in range : 1999999973\n"
      "estimate ... good guess and ... excellent\n",
      record, stats);
  EXPECT_EQ(std::vector({record.nmin, record.nmax, record.nPrimes, record.nPrimes2, record.nGaps,
                         record.firstPrime, record.lastPrime}),
            std::vector<std::int64_t>({1000000000, 1, 1234567, 78498, 1234566, 0, 1999999973}));
  EXPECT_TRUE(record.goodGuess && record.excellent);

  // Values persist across reports; the grade flags do not.
  parse("Tramvelok -  12 primes in 1 primes in 2s\n", record, stats);
  EXPECT_EQ(record.nPrimes2, 12);
  EXPECT_EQ(record.lastPrime, 1999999973);
  EXPECT_FALSE(record.goodGuess || record.excellent);
}

// Only the line after an exact header is a table, even if it looks like a key;
// numbers in it are not grouped, and items without digits count as zero.
TEST(ReportParser, gapTableItemsGoToTheHistogram) {
  ReportRecord record;
  GapStats stats;
  parse(
      "Gaps [gap, qty] \n[2, 5], \nGaps [gap, qty]\r\ntext before [2, 10], [4, 7], \r\n"
      "[8, 100], \nGaps [gap, qty]\n[2, 1.000], [12,5][[14, 9]\nGaps [gap, qty]\n"
      "[x, 4], [6, y], [, ]\nGaps [gap, qty]\nnmin = 3\nGaps [gap, qty]",
      record, stats);
  // The block after the report lists the gap sizes ascending, gap 0 (met
  // last) first.
  StatsBlock block;
  reportSeries(stats, block);
  std::vector<std::pair<std::int64_t, std::int64_t>> entries;
  for (const auto& [gap, count] : block.counts) {
    entries.emplace_back(gap, count);
  }
  EXPECT_EQ(entries, (decltype(entries){{0, 4}, {2, 11}, {4, 7}, {12, 5}}));
  EXPECT_EQ(stats.runningGapTotal, 27);
  EXPECT_EQ(record.nmin, 0);
}

// What a report of the slice from..to says when every line is there and its
// values agree with each other: its one prime is its first and its last.
ReportReading consistent(std::int64_t from, std::int64_t to, std::int64_t primes) {
  ReportReading reading;
  reading.opened = true;
  reading.fileNmin = from;
  reading.fileNmax = to;
  reading.nmin = from;
  reading.nmax = to;
  reading.nPrimes = reading.nPrimes2 = primes;
  reading.nGaps = primes - 1;
  // A slice without primes lists no gap and says -1 gaps.
  reading.gapTableSum = std::max<std::int64_t>(primes - 1, 0);
  reading.firstPrime = reading.lastPrime = from;
  reading.gapTableLine = true;
  return reading;
}

// The warning lines of the checks that fail, as the run shows them, for a
// reading applied to record.
std::vector<std::string> reportWarnings(const ReportReading& reading, const std::string& name,
                                        ReportRecord record = {}) {
  applyReading(reading, record);
  const auto failed = failedChecks(record, reading);
  return warningLines({name, {failed.begin(), failed.end()}, 0});
}

TEST(Checks, estimateAndItsDomain) {
  EXPECT_EQ(estimatedPrimes(1, 10000000), 661462);
  EXPECT_EQ(estimatedPrimes(30000000, 40000000), 573654);
  ReportRecord record;
  applyReading(consistent(1, 10000000, 664579), record);
  EXPECT_EQ(formatFixed(deviation(record), 12), "0.004690187322");
  EXPECT_FALSE(estimatedPrimes(-5, 100).has_value());
  EXPECT_TRUE(reportWarnings(consistent(-5, 40000000, 575795), "R").empty());
  EXPECT_EQ(reportWarnings(consistent(2, 1000, 0), "R"),
            std::vector<std::string>{"warning : +Infinity\tR"});
}

// Every check in its order; a key line the report lacks keeps the value of
// the report before (here nmin, which then matches its name).
TEST(Checks, eachMismatchAddsItsLine) {
  ReportReading reading = consistent(30000000, 40000000, 575795);
  reading.nmin.reset();
  reading.nmax = 1;
  reading.nPrimes2 = 7;
  reading.nGaps = 575795;
  reading.gapSpan = 4;
  reading.gapTableLine = false;
  reading.outsideItems = 1;
  reading.outsideGaps = 30824;
  ReportRecord before;
  before.nmin = 30000000;
  EXPECT_EQ(
      reportWarnings(reading, "R", before),
      (std::vector<std::string>{
          "min-max values do not match in R", "Double control nPrimes / nPrimes2 is false in R",
          "nGaps / nPrimes values do not match in R", "warning : 0.003718337255\tR",
          "Gap table and nGaps values do not match in R",
          "Gap table and first/last prime values do not match in R", "Line \"nmin =\" missing in R",
          "Line \"Gaps [gap, qty]\" missing in R",
          "Gap sizes outside 0 to 2000 not counted: 1 item, 30.824 gaps in R"}));
}

// A report that found no prime needs no prime lines and no table; the prime
// lines are checked against the gaps only when both are there.
TEST(Checks, missingLinesInTheOrderOfTheFormat) {
  ReportReading empty;
  empty.opened = true;
  empty.nPrimes = 0;
  EXPECT_EQ(
      reportWarnings(empty, "R", {}),
      (std::vector<std::string>{"nGaps / nPrimes values do not match in R",
                                "There is a bug on nPrimes / nGaps check in the fileR",
                                "Line \"nmin =\" missing in R", "Line \"nmax =\" missing in R",
                                "Line \"primes in\" missing in R",
                                "Line \"Tramvelok - Total gaps :\" missing in R"}));
  ReportReading cut = consistent(2, 1000, 168);
  cut.lastPrime.reset();
  cut.gapSpan = 1;
  cut.outsideItems = 2;
  cut.outsideGaps = 1;
  EXPECT_EQ(reportWarnings(cut, "R", {}),
            (std::vector<std::string>{
                "warning : 0.113095238095\tR", "Line \"Last prime in range :\" missing in R",
                "Gap sizes outside 0 to 2000 not counted: 2 items, 1 gap in R"}));
}

// From the start of the numbers to a power of ten, a report must carry both
// grade lines.
TEST(Checks, gradeLines) {
  const auto warned = [](std::int64_t from, std::int64_t to, bool goodGuess, bool excellent) {
    ReportReading reading = consistent(from, to, 50847534);
    reading.goodGuess = goodGuess;
    reading.excellent = excellent;
    const auto warnings = reportWarnings(reading, "R");
    return std::find(warnings.begin(), warnings.end(),
                     "There is a bug on nPrimes / nGaps check in the fileR") != warnings.end();
  };
  EXPECT_TRUE(warned(0, 1000000000, false, false));
  EXPECT_TRUE(warned(1, 10000000, true, false));
  EXPECT_FALSE(warned(0, 1000000000, true, true));
  EXPECT_FALSE(warned(2, 1000000000, false, true));
  EXPECT_FALSE(warned(1, 20000000, false, false));
}

}  // namespace
}  // namespace gapmerge::test
