// Every text made from what a run found, on outcomes built here: fileout.txt's
// sections and closing sections, the coverage listing, CSV, JSON, the warning
// lines and the lines on standard error.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "render/coverage_text.hpp"
#include "render/csv.hpp"
#include "render/json.hpp"
#include "render/merged_file_text.hpp"
#include "render/messages.hpp"
#include "render/standard_error.hpp"
#include "tests/support/worked_example.hpp"

namespace gapmerge::test {
namespace {

constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();

// The outcome of the worked example: gaps 1, 2, 4 and 6 counted 1, 4, 3 and 1.
RunOutcome workedExample() {
  RunOutcome outcome;
  outcome.reports = 1;
  outcome.bounds = {1, 30};
  for (const auto& [gap, count] : {std::pair{1U, 1}, {2U, 4}, {4U, 3}, {6U, 1}}) {
    outcome.histogram[gap] = count;
  }
  finalSeries(outcome.histogram, outcome.finalBlock);
  outcome.runningTotal = 9;
  outcome.mergedFile.complete = true;
  outcome.expected[1] = 1;
  outcome.expected[2] = 4.5;
  outcome.expected[4] = 2;
  outcome.expected[8] = 0.5;
  return outcome;
}

TEST(MergedFileText, sectionsAndClosingOfTheWorkedExampleAndOfNoReport) {
  // With one report the block after it is the final block.
  const RunOutcome outcome = workedExample();
  std::string sections;
  appendReportSections(sections, 30, outcome.finalBlock);
  EXPECT_EQ(sections, oneReportSections);
  EXPECT_EQ(closingSections(1, 30, 9, outcome.finalBlock),
            crlfLines({"1 - 30", "", "nGaps = 9", ""}) + oneReportSummary);
  // Without a report every list is empty, every count 0, and the range keeps
  // its starting values.
  EXPECT_EQ(closingSections(int64Max, 0, 0, StatsBlock{}),
            "9.223.372.036.854.775.808 - 0\r\n\r\nnGaps = 0\r\n\r\n\r\n"
            "Gaps [gap, qty]\r\n\r\n\r\n\r\nNormalized gaps [gap, %]\r\n\r\n\r\n\r\n"
            "0 Mod 3 []\r\n\r\n1 Mod 3 []\r\n\r\n2 Mod 3 []\r\n\r\n"
            "Cumulative gaps\r\n\r\n\r\n\r\nNormalized cumulative gaps\r\n\r\n\r\n\r\n\r\n\r\n"
            "0 : 0\t1 : 0\t2 : 0\tTotal : 0\r\n\r\n"
            "0 Mod 3 []\r\n\r\n1 Mod 3 []\r\n\r\n2 Mod 3 []\r\n\r\n\r\n\r\nnGaps : 0\r\n");
}

struct CoverageCase {
  const char* what;
  std::vector<std::string_view> paths;
  std::string listing;
  bool tiles;
};

TEST(CoverageText, listsWhatTheNamesCover) {
  const std::vector<CoverageCase> cases{
      {"touching ranges tile one interval",
       {"Tramvelok 1 to 10 1.txt", "Tramvelok 11 to 1_000 1.txt"},
       "covered: 1 to 1.000 (2 reports)\n",
       true},
      {"hole, overlap, duplicate, a range inside another, unreadable names",
       {"Tramvelok 1 to 1.000 A.txt", "Tramvelok 1.001 to 2.000 A.txt",
        "Tramvelok 1.001 to 2.000 B.txt", "Tramvelok 1.500 to 1.600 A.txt",
        "Tramvelok 3.000 to 4.000 A.txt", "sub/Tramvelok 9 to 8 A.txt", "Tramvelok abc to 5 A.txt"},
       "covered: 1 to 2.000 (4 reports)\n"
       "covered: 3.000 to 4.000 (1 report)\n"
       "hole: 2.001 to 2.999\n"
       "overlap: 1.001 to 2.000\n"
       "duplicate: Tramvelok 1.001 to 2.000 A.txt, Tramvelok 1.001 to 2.000 B.txt\n"
       "unreadable: sub/Tramvelok 9 to 8 A.txt\n"
       "unreadable: Tramvelok abc to 5 A.txt\n",
       false},
      {"the whole of the 64-bit integers",
       {"Tramvelok -9.223.372.036.854.775.808 to 0 A.txt",
        "Tramvelok 1 to 9.223.372.036.854.775.807 A.txt"},
       "covered: -9.223.372.036.854.775.808 to 9.223.372.036.854.775.807 (2 reports)\n",
       true},
      {"an overlap at the top of the 64-bit integers",
       {"Tramvelok 9.223.372.036.854.775.000 to 9.223.372.036.854.775.807 A.txt",
        "Tramvelok 9.223.372.036.854.775.807 to 9.223.372.036.854.775.807 A.txt"},
       "covered: 9.223.372.036.854.775.000 to 9.223.372.036.854.775.807 (2 reports)\n"
       "overlap: 9.223.372.036.854.775.807 to 9.223.372.036.854.775.807\n",
       false},
      {"copies in two folders, names with a line break and a backslash",
       {"a/Tramvelok 1 to 99 x\ncovered: 1 to 99 (1 report).txt", "b\\c/Tramvelok 1 to 99 y.txt"},
       "covered: 1 to 99 (2 reports)\n"
       "overlap: 1 to 99\n"
       "duplicate: a/Tramvelok 1 to 99 x\\ncovered: 1 to 99 (1 report).txt, "
       "b\\\\c/Tramvelok 1 to 99 y.txt\n",
       false},
      {"no report", {}, "no report found\n", false},
  };
  for (const auto& [what, paths, listing, tiles] : cases) {
    SCOPED_TRACE(what);
    const Coverage coverage = findCoverage(paths);
    EXPECT_EQ(coverageText(coverage, {}), listing);
    EXPECT_EQ(tilesOneInterval(coverage), tiles);
  }
  EXPECT_EQ(coverageText(findCoverage({}), {{"a/\tb/", "Permission denied"}}),
            "no report found\nunlisted: a/\\tb/\n");
}

// The rows hold the numbers of the closing lines of the worked example, and
// the expected counts set here.
TEST(Exports, csvOfTheWorkedExample) {
  EXPECT_EQ(csvText(workedExample()),
            "gap,count,share,cumulative,cumulative_share,class,expected,ratio\n"
            "1,1,0.111111111111111,1,0.111111111111111,1,1.000,1.000000\n"
            "2,4,0.444444444444444,5,0.555555555555556,2,4.500,0.888889\n"
            "4,3,0.333333333333333,8,0.888888888888889,1,2.000,1.500000\n"
            "6,1,0.111111111111111,9,1.000000000000000,0,0.000,\n");
}

// Bounds near 2^63 exact, names that are not UTF-8 made valid, the keys in
// their documented order.
TEST(Exports, jsonOfAnOutcome) {
  RunOutcome outcome = workedExample();
  outcome.directory = "/d/";
  outcome.bounds = {1, int64Max};
  outcome.warnings = {{"Tramvelok 1 to 10 \xff.txt", {FailedCheck{Check::gapTable, 0}}, 1}};
  outcome.verification = VerificationTally{9, 3, 2, 1, 1};
  outcome.unlistedFolders = {{"deep/", "File name too long"}};
  outcome.published = PublishedComparison{10, 1, false, {{"gap 2", 2, 4}}};
  outcome.primeCount = {{1, 30}, PrimeCountState::counted, 10, 9, 0, ""};
  using Json = nlohmann::ordered_json;
  const Json json = Json::parse(jsonText(outcome, "9.9"));
  std::vector<std::string> keys;
  for (const auto& item : json.items()) {
    keys.push_back(item.key());
  }
  EXPECT_EQ(keys, (std::vector<std::string>{
                      "version", "directory", "order", "reports", "range", "gaps", "histogram",
                      "residues", "warnings", "merged_file", "coverage", "verification",
                      "unlisted_folders", "model", "expected", "published", "prime_count"}));
  EXPECT_EQ(json["range"]["to"].get<std::int64_t>(), int64Max);
  EXPECT_EQ(json["histogram"], Json::parse("[[1, 1], [2, 4], [4, 3], [6, 1]]"));
  EXPECT_EQ(json["warnings"][0]["messages"][0],
            "Gap table and nGaps values do not match in Tramvelok 1 to 10 \xEF\xBF\xBD.txt");
  EXPECT_EQ(json["verification"], Json::parse(R"({"seed": 9, "chosen": 3, "verified": 2,
      "mismatched": 1, "not_verifiable": 1})"));
  EXPECT_EQ(json["unlisted_folders"], Json::parse(R"(["deep/"])"));
  EXPECT_EQ(json["expected"], Json::parse("[[1, 1.0], [2, 4.5], [4, 2.0], [6, 0.0], [8, 0.5]]"));
  EXPECT_EQ(json["published"], Json::parse(R"({"below": 10, "agrees": false,
      "compared": [{"name": "gap 2", "published": 2, "merged": 4}]})"));
  EXPECT_EQ(json["prime_count"], Json::parse(R"({"from": 1, "to": 30, "primes": 10, "merged": 9,
      "agrees": false})"));
}

TEST(Messages, eachWarningInItsWords) {
  const auto differs = [](Differing what, std::optional<std::int64_t> said,
                          std::optional<std::int64_t> found, std::int64_t gap = 0) {
    return ReportDiffers{{what, said, found, gap}};
  };
  const std::string sieve = "Report does not match a fresh sieve of its range: ";
  const std::vector<std::pair<Warning, std::string>> cases = {
      {ReportUnopened{}, "Report could not be opened, nothing merged from R"},
      {SlicesDoNotJoin{-5, "P", 0, 0, 0}, "Slices do not join: mid gap -5 after P"},
      {SlicesDoNotJoin{72, "P", 1, 999999937, 1000000009},
       "Slices do not join: 1 prime between 999999937 and 1000000009, in no report (after P)"},
      {SlicesDoNotJoin{8, "P", 2, 5, 13},
       "Slices do not join: 2 primes between 5 and 13, in no report (after P)"},
      {ReportRepeats{"P", false}, "Report repeats P, nothing merged from it"},
      {ReportRepeats{"P", true},
       "Report covers the range of P but differs from it, nothing merged "
       "from it"},
      {MergedFileNotCreated{"/d/"}, "Merged results file could not be created in /d/"},
      {MergedFileIncomplete{"/d/"}, "Merged results file is incomplete, writing failed in /d/"},
      {FolderUnlisted{"Permission denied"},
       "Folder could not be listed (Permission denied), nothing merged from it"},
      {differs(Differing::firstPrime, 1010000013, 1010000011),
       sieve + "first prime 1.010.000.013 in the report, 1.010.000.011 by the sieve"},
      {differs(Differing::lastPrime, std::nullopt, 7),
       sieve + "no last prime in the report, 7 by the sieve"},
      {differs(Differing::primes, 5, std::nullopt),
       sieve + "number of primes 5 in the report, none by the sieve"},
      {differs(Differing::gapCount, 1, 2, 6),
       sieve + "gap 6 counted 1 time in the report, 2 times by the sieve"},
      {differs(Differing::gapOnlyBySieve, std::nullopt, 30414, 2),
       sieve + "gap 2 not listed in the report, counted 30414 times by the sieve"},
      {differs(Differing::gapOnlyInReport, 1, std::nullopt, 1000),
       sieve + "gap 1000 counted 1 time in the report, never by the sieve"},
      {ReportNotVerifiable{true},
       "Report is not verifiable: its range is wider than the limit of --verify-limit"},
      {ReportNotVerifiable{false},
       "Report is not verifiable: the bounds in its name are not a range of integers from 0 up"},
  };
  for (const auto& [warning, line] : cases) {
    EXPECT_EQ(warningLine(warning, "R"), line);
  }
}

TEST(StandardError, theLinesAboutTheResult) {
  const auto lines = [](auto change, bool withSummary = true) {
    RunOutcome outcome = workedExample();
    outcome.mergedFile.path = "/d/fileout.txt";
    change(outcome);
    return resultLines(outcome, withSummary);
  };
  EXPECT_EQ(lines([](RunOutcome&) {}), "");
  const auto merged = [](RunOutcome& o) {
    o.reportsMerged = 1;
    o.primesMerged = 10;
    o.estimateWarnings = 1;
  };
  EXPECT_EQ(lines(merged),
            "gapmerge: 1 to 30 in 1 report: 10 primes, 4 twin primes, largest gap 6\n"
            "gapmerge: 1 report differs from the prime estimate by more than its tolerance (a "
            "rough estimate; not a sign of damage)\n");
  EXPECT_EQ(lines(merged, false), "");
  EXPECT_EQ(lines([](RunOutcome& o) {
              o.mergedFile = {"/d/fileout.txt", false, false, true, "another run holds the folder"};
            }),
            "gapmerge: cannot create /d/fileout.txt: another run holds the folder\n");
  for (const bool previous : {true, false}) {
    EXPECT_EQ(
        lines([previous](RunOutcome& o) {
          o.mergedFile = {"/d/fileout.txt", true, false, previous, "No space left on device"};
        }),
        std::string("gapmerge: cannot write /d/fileout.txt: No space left on device; ") +
            (previous ? "the previous fileout.txt was kept\n" : "no fileout.txt was written\n"));
  }
  EXPECT_EQ(lines([](RunOutcome& o) {
              o.reports = 1000;
              o.verification = VerificationTally{7, 3, 2, 1, 1};
            }),
            "gapmerge: verified 2 of 1.000 reports (seed 7): 1 differs, 1 not verifiable\n");
  const BoundRange billion{1, 1000000000};
  const std::vector<std::pair<PrimeCountCheck, std::string>> counts = {
      {{billion, PrimeCountState::counted, 50847534, 50847534, 0, ""},
       "the merged gaps join 50.847.534 primes from 1 to 1.000.000.000, as many as there are"},
      {{billion, PrimeCountState::counted, 50847534, 50847533, 0, ""},
       "the merged gaps join 50.847.533 primes from 1 to 1.000.000.000, but there are "
       "50.847.534 (1 missing)"},
      {{billion, PrimeCountState::counted, 50847534, 50848534, 0, ""},
       "the merged gaps join 50.848.534 primes from 1 to 1.000.000.000, but there are "
       "50.847.534 (1.000 more than there are)"},
      {{{1, 200000000000000}, PrimeCountState::aboveLimit, 0, 5, 100000000000000, ""},
       "primes from 1 to 200.000.000.000.000 not counted (above --count-limit 10^14)"},
      {{{1, 200000}, PrimeCountState::aboveLimit, 0, 5, 123456, ""},
       "primes from 1 to 200.000 not counted (above --count-limit 123.456)"},
      {{{-5, 10}, PrimeCountState::notARange, 0, 5, 100, ""},
       "primes from -5 to 10 not counted (the bounds in the names are not a range from 0 up)"},
  };
  for (const auto& [count, line] : counts) {
    EXPECT_EQ(lines([&count](RunOutcome& o) { o.primeCount = count; }), "gapmerge: " + line + "\n");
  }
  EXPECT_EQ(lines([](RunOutcome& o) {
              o.shortfall = {2, 1, 1234, 1, true};
              o.unlistedFolders = {{"a/", "Permission denied"}};
              o.warnings = {{"R", {ReportUnopened{}}, 1}};
            }),
            "gapmerge: the result is incomplete: 2 reports could not be read, 1 folder could not "
            "be listed, 1 slice join is broken, 1.234 reports do not add up, 1 repeated slice "
            "differs (see the warnings); the reports join in range order: run again with "
            "--range-order; --verify all sieves the reports again and tells which copy is right\n");
  EXPECT_EQ(lines([](RunOutcome& o) { o.reports = 0; }),
            "gapmerge: the result is incomplete: no report found\n");
  EXPECT_EQ(linksLine(1),
            "gapmerge: 1 link to a folder was not followed (--follow follows links)\n");
  EXPECT_EQ(linksLine(3),
            "gapmerge: 3 links to folders were not followed (--follow follows links)\n");
}

TEST(StandardError, theVerdictInOneLine) {
  RunOutcome outcome = workedExample();
  outcome.reportsMerged = 1;
  outcome.primesMerged = 10;
  EXPECT_EQ(verdictText(outcome), "Complete: 1 report, 10 primes from 1 to 30");
  outcome.primeCount = {{1, 30}, PrimeCountState::counted, 10, 10, 0, ""};
  EXPECT_EQ(verdictText(outcome),
            "Complete: 1 report, 10 primes from 1 to 30, as many as there are");
  outcome.primeCount->merged = 9;
  outcome.shortfall.joinsBroken = 1;
  EXPECT_EQ(verdictText(outcome),
            "Incomplete: 1 slice join is broken; the merged gaps join 9 primes from 1 to 30, but "
            "there are 10 (1 missing)");
}

}  // namespace
}  // namespace gapmerge::test
