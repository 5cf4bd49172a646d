// Real slice reports made by make-slices: merges in range order checked against
// primes counted with primesieve, and verification by re-sieving.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <primesieve.hpp>
#include <string>
#include <utility>
#include <vector>

#include "tests/real_data/real_data.hpp"
#include "tests/support/output.hpp"
#include "tests/support/program.hpp"
#include "text/number_format.hpp"
#include "verify/verification.hpp"

namespace gapmerge::test {
namespace {

constexpr const char* joinWarning = " : Slices do not join: mid gap ";

TEST(RangeOrder, mergesOneToABillionOnlyInRangeOrder) {
  const ScratchDir dir;
  ASSERT_TRUE(makeSlices(1, 1'000'000'000, 100, dir));
  {
    SCOPED_TRACE("path order");
    const auto result = runGapmerge({"--batch"}, dir.path().string());
    EXPECT_EQ(result.exitStatus, 3);
    const auto broken = countOf(result.out, joinWarning);
    // The gaps that join the slices are lost, so the primes do not add up.
    EXPECT_EQ(
        countOf(result.err, "\ngapmerge: differs from the published counts below 10^9: primes: "),
        1U);
    EXPECT_TRUE(
        result.err.ends_with("gapmerge: the result is incomplete: " + std::to_string(broken) +
                             " slice joins are broken (see the warnings); the reports "
                             "join in range order: run again with --range-order\n"));
    EXPECT_LT(std::stoll(lineAfter(readFile(dir.path() / "fileout.txt"), "nGaps : ")), 50'847'533);
  }
  {
    SCOPED_TRACE("range order");
    expectExactMerge(dir, 1, 1'000'000'000,
                     "Tramvelok 990.000.001 to 1.000.000.000 20261206120000.txt", {"--range-order"},
                     "gapmerge: agrees with the published counts below 10^9 (primes, gaps of 2, 4, "
                     "6 and 8, largest gap 282)\ngapmerge: the merged gaps join 50.847.534 primes "
                     "from 1 to 1.000.000.000, as many as there are\n");
  }
  {
    SCOPED_TRACE("a missing slice");
    std::filesystem::remove(dir.path() / "Tramvelok 500.000.001 to 510.000.000 20261206120000.txt");
    const auto result = runGapmerge({"--batch", "--quiet", "--range-order"}, dir.path().string());
    // The histogram lost the slice's primes less one, and the two gaps that
    // joined it to its neighbours.
    const auto lost =
        static_cast<std::int64_t>(primesieve::count_primes(500'000'001, 510'000'000)) + 1;
    EXPECT_EQ(countOf(result.err,
                      "gapmerge: the merged gaps join " + formatGroupedInteger(50'847'534 - lost) +
                          " primes from 1 to 1.000.000.000, but there are 50.847.534 (" +
                          formatGroupedInteger(lost) + " missing)\n"),
              1U)
        << result.err;
    EXPECT_TRUE(result.err.ends_with(
        "gapmerge: the result is incomplete: 1 slice join is broken (see the warnings)\n"));
    EXPECT_EQ(countOf(result.out, joinWarning), 1U);
    EXPECT_NE(result.out.find("\nTramvelok 510.000.001 to 520.000.000 20261206120000.txt" +
                              std::string(joinWarning)),
              std::string::npos)
        << result.out;
  }
}

constexpr const char* mismatch = " : Report does not match a fresh sieve of its range: ";

std::string named(const std::string& bounds) {
  return "Tramvelok " + bounds + " 20261206120000.txt";
}

// Replaces the first from in the report with to.
void edit(const ScratchDir& dir, const std::string& name, const std::string& from,
          const std::string& to) {
  std::string text = readFile(dir.path() / name);
  const auto at = text.find(from);
  ASSERT_NE(at, std::string::npos) << name;
  dir.write(name, text.replace(at, from.size(), to));
}

// Moves count gaps of size from to size to in the report's table, which then
// still adds up to its gaps (and spans its primes when the moves together
// keep the sum of the sizes).
void moveGaps(const ScratchDir& dir, const std::string& name, int from, int to, long long count) {
  std::string text = readFile(dir.path() / name);
  for (const auto& [gap, change] : {std::pair{from, -count}, std::pair{to, count}}) {
    const std::string item = "[" + std::to_string(gap) + ", ";
    const auto at = text.find(item) + item.size();
    const auto end = text.find(']', at);
    text.replace(at, end - at, std::to_string(std::stoll(text.substr(at, end - at)) + change));
  }
  dir.write(name, text);
}

// What --batch prints after the line of the output folder.
std::string warningsOf(const std::string& out) {
  return out.substr(out.find('\n', out.find("\nOutputDirectory : ") + 1) + 1);
}

TEST(Verify, findsReportsThatPassEveryCheckButDifferFromTheSieve) {
  const ScratchDir dir;
  ASSERT_TRUE(makeSlices(1'000'000'001, 1'030'000'000, 3, dir));
  const std::string a = named("1.000.000.001 to 1.010.000.000");
  const std::string b = named("1.010.000.001 to 1.020.000.000");
  const std::string c = named("1.020.000.001 to 1.030.000.000");
  // Each copy still adds up and its gaps still span its primes.
  moveGaps(dir, a, 8, 6, 1);
  moveGaps(dir, a, 4, 6, 1);
  edit(dir, b, "First prime in range : 1.010.000.011", "First prime in range : 1.010.000.013");
  moveGaps(dir, b, 4, 2, 1);
  moveGaps(dir, c, 2, 4, 30414);
  moveGaps(dir, c, 6, 4, 30414);
  edit(dir, c, "[2, 0], ", "");
  const std::string folder = dir.path().string();
  const auto plain = runGapmerge({"--batch", "-C", folder});
  EXPECT_EQ(plain.exitStatus, 0);
  EXPECT_EQ(warningsOf(plain.out), "");
  const std::string merged = readFile(dir.path() / "fileout.txt");

  const auto all = runGapmerge({"--batch", "--verify", "all", "-C", folder});
  EXPECT_EQ(all.exitStatus, 3);
  EXPECT_EQ(countOf(all.err, "\ngapmerge: verified 3 of 3 reports (seed 20261206): 3 differ\n"),
            1U);
  EXPECT_EQ(warningsOf(all.out),
            a + mismatch + "gap 4 counted 30803 times in the report, 30804 times by the sieve\n\n" +
                b + mismatch +
                "first prime 1.010.000.013 in the report, 1.010.000.011 by the sieve\n\n" + c +
                mismatch + "gap 2 not listed in the report, counted 30414 times by the sieve\n\n");
  EXPECT_EQ(readFile(dir.path() / "fileout.txt"), merged);

  const auto two = runGapmerge({"--batch", "--verify", "2", "--seed", "9", "-C", folder});
  EXPECT_EQ(countOf(two.out, mismatch), 2U);
}

TEST(Verify, passesTheExamplesAndPlacesAnEntryAfterTheReportsOwn) {
  const ScratchDir dir;
  dir.copyExamples();
  dir.write("Tramvelok -5 to 10 x.txt",
            "nmin = -5\nnmax = 10\nTramvelok - found 0 primes\nTramvelok - 0 primes in 0s\n"
            "Tramvelok - Total gaps : -1\n");
  // A slice without primes, so without first and last prime lines; read first,
  // it breaks no join.
  ASSERT_EQ(
      runMakeSlices({"--from", "24", "--to", "28", "--slices", "1", "--out", dir.path() / "A"})
          .exitStatus,
      0);
  const auto passed = runGapmerge({"--batch", "--verify", "all", "-C", dir.path().string()});
  EXPECT_EQ(passed.exitStatus, 0);
  EXPECT_EQ(countOf(passed.out, mismatch), 0U);
  EXPECT_NE(passed.out.find("\nTramvelok -5 to 10 x.txt : Report is not verifiable"),
            std::string::npos);

  const std::string second = named("10.000.001 to 20.000.000");
  moveGaps(dir, second, 8, 6, 1);
  moveGaps(dir, second, 4, 6, 1);
  const auto found = runGapmerge({"--batch", "--verify", "all", "-C", dir.path().string()});
  EXPECT_EQ(found.exitStatus, 3);
  EXPECT_EQ(countOf(found.err,
                    "\ngapmerge: verified 11 of 12 reports (seed 20261206): 1 differs, 1 not "
                    "verifiable\n"),
            1U);
  EXPECT_NE(found.out.find("\t" + second + "\n\n" + second + mismatch +
                           "gap 4 counted 48459 times in the report, 48460 times by the sieve\n\n" +
                           named("20.000.001 to 30.000.000") + " : warning"),
            std::string::npos)
      << found.out;

  // Each example slice holds 10^7 integers, one more than the limit.
  const auto limited = runGapmerge({"--batch", "--verify", "all", "--verify-limit", "9999999",
                                    "--json", "-", "-C", dir.path().string()});
  EXPECT_EQ(limited.exitStatus, 0);
  const auto json = nlohmann::json::parse(limited.out);
  EXPECT_EQ(json["verification"], nlohmann::json::parse(R"({"seed": 20261206, "chosen": 12,
      "verified": 1, "mismatched": 0, "not_verifiable": 11})"));
  EXPECT_EQ(countOf(limited.out,
                    "Report is not verifiable: its range is wider than the limit of "
                    "--verify-limit"),
            10U);
}

// The examples tile 1 to 10^8; one more gap of 6 and one less of 8 in a report
// that still adds up makes the run differ from the published counts.
TEST(PublishedCounts, theExamplesAgreeAndACopyWithOneGapMovedDiffers) {
  const ScratchDir dir;
  dir.copyExamples();
  const auto agreeing = runGapmerge({"--batch", "--quiet", "-C", dir.path().string()});
  EXPECT_EQ(agreeing.exitStatus, 0);
  EXPECT_EQ(agreeing.err,
            "gapmerge: agrees with the published counts below 10^8 (primes, gaps of "
            "2, 4, 6 and 8, largest gap 220)\ngapmerge: the merged gaps join 5.761.455 primes "
            "from 1 to 100.000.000, as many as there are\n");
  moveGaps(dir, named("40.000.001 to 50.000.000"), 8, 6, 1);
  const auto differing = runGapmerge({"--batch", "-C", dir.path().string()});
  EXPECT_EQ(differing.exitStatus, 3);
  EXPECT_EQ(countOf(differing.err,
                    "\ngapmerge: differs from the published counts below 10^8: gap 6: "
                    "768.753 merged, 768.752 published; gap 8: 334.179 merged, 334.180 "
                    "published\n"),
            1U);
}

void slice(const ScratchDir& dir, long long from, long long to) {
  ASSERT_TRUE(makeSlices(from, to, 1, dir));
}

// Cuts the report before its first "cut".
void truncate(const ScratchDir& dir, const std::string& name, const std::string& cut) {
  const std::string text = readFile(dir.path() / name);
  dir.write(name, text.substr(0, text.find(cut)));
}

// Damage that once merged with exit status 0, each on real slices: the run
// names the report and exits 3, or (a repeat) merges it once and exits 0.
TEST(Invariants, everyDamagedOrRepeatedSliceIsNamed) {
  const std::string low = named("999.000.001 to 1.000.000.006");
  const std::string high = named("1.000.000.007 to 1.001.000.000");
  const auto pair = [](const ScratchDir& dir) {
    slice(dir, 999'000'001, 1'000'000'006);
    slice(dir, 1'000'000'007, 1'001'000'000);
  };
  // 499.001 to 500.000 holds 81 primes; 498.989 and 500.009 are the primes around.
  const std::string holeLine =
      "Slices do not join: 81 primes between 498989 and 500009, in no "
      "report (after " +
      named("1 to 499.000") + ")\n";
  struct Case {
    const char* what;
    std::function<void(const ScratchDir&)> damage;
    int exitStatus;
    std::string line;  // in the warnings
    std::string said;  // on standard error
  };
  const std::vector<Case> cases{
      {"a hole that holds 1.000.000.007",
       [](const ScratchDir& dir) {
         slice(dir, 999'000'001, 1'000'000'006);
         slice(dir, 1'000'000'008, 1'001'000'000);
       },
       3,
       "Slices do not join: 1 prime between 999999937 and 1000000009, in no report (after " + low +
           ")\n",
       "(1 missing)"},
      {"a hole of 1.000 integers",
       [](const ScratchDir& dir) {
         slice(dir, 1, 499'000);
         slice(dir, 500'001, 1'000'000);
       },
       3, holeLine, "(81 missing)"},
      {"a first report cut before its total",
       [&](const ScratchDir& dir) {
         pair(dir);
         truncate(dir, low, "Tramvelok - Total gaps");
       },
       3, "Line \"Tramvelok - Total gaps :\" missing in " + low + "\n", "1 report does not add up"},
      {"an empty first report",
       [&](const ScratchDir& dir) {
         pair(dir);
         truncate(dir, low, "nmin");
       },
       3, "Line \"nmin =\" missing in " + low + "\n", "1 report does not add up"},
      {"a gap size above 2000",
       [&](const ScratchDir& dir) {
         pair(dir);
         edit(dir, high, "[2, ", "[2002, 30824], [2, ");
       },
       3, "Gap sizes outside 0 to 2000 not counted: 1 item, 30.824 gaps in " + high + "\n",
       "report does not add up"},
      {"one gap of 6 counted as 8",
       [&](const ScratchDir& dir) {
         pair(dir);
         moveGaps(dir, high, 6, 8, 1);
       },
       3, "Gap table and first/last prime values do not match in " + high + "\n",
       "1 report does not add up"},
      {"a slice sieved twice",
       [&](const ScratchDir& dir) {
         pair(dir);
         std::filesystem::create_directory(dir.path() / "again");
         std::filesystem::copy(dir.path() / low, dir.path() / "again" / low);
       },
       0, "Report repeats " + low + ", nothing merged from it\n", ", as many as there are\n"},
      {"a slice sieved twice that differs",
       [&](const ScratchDir& dir) {
         pair(dir);
         std::filesystem::create_directory(dir.path() / "again");
         std::filesystem::copy(dir.path() / low, dir.path() / "again" / low);
         moveGaps(dir, low, 6, 4, 1);
         moveGaps(dir, low, 6, 8, 1);
       },
       3, "Report covers the range of " + low + " but differs from it, nothing merged from it\n",
       "1 repeated slice differs"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    const ScratchDir dir;
    test.damage(dir);
    const auto result = runGapmerge({"--batch", "--range-order", "-C", dir.path().string()});
    EXPECT_EQ(result.exitStatus, test.exitStatus) << result.err;
    EXPECT_EQ(countOf(warningsOf(result.out), test.line), 1U) << result.out;
    EXPECT_EQ(countOf(result.err, test.said), 1U) << result.err;
  }
}

// The primes of a range far from 1 are counted, also when the cache holds a
// damaged line; a slice without a prime between two merges as if it were
// not there.
TEST(Invariants, theMergedGapsCountThePrimesOfTheRange) {
  const ScratchDir dir;
  ASSERT_TRUE(makeSlices(1'000'000'000'000, 1'000'010'000'000, 10, dir));
  ASSERT_EQ(setenv("XDG_CACHE_HOME", dir.path().c_str(), 1), 0);
  const std::uint64_t high = 1'000'010'000'000;
  dir.write("gapmerge/prime-counts", std::to_string(high) + " 5 0123456789abcdef\n");
  const auto primes = static_cast<std::int64_t>(primesieve::count_primes(1'000'000'000'000, high));
  expectExactMerge(dir, 1'000'000'000'000, high, named("1.000.009.000.001 to 1.000.010.000.000"),
                   {},
                   "gapmerge: the merged gaps join " + formatGroupedInteger(primes) +
                       " primes from 1.000.000.000.000 to 1.000.010.000.000, as many as there "
                       "are\n");

  const ScratchDir three;
  slice(three, 999'999'001, 1'000'000'009);
  slice(three, 1'000'000'010, 1'000'000'020);
  slice(three, 1'000'000'021, 1'000'001'000);
  expectExactMerge(three, 999'999'001, 1'000'001'000, named("1.000.000.021 to 1.000.001.000"),
                   {"--range-order"},
                   "gapmerge: the merged gaps join " +
                       std::to_string(primesieve::count_primes(999'999'001, 1'000'001'000)) +
                       " primes from 999.999.001 to 1.000.001.000, as many as there are\n");
}

TEST(Verify, choosesWithTheDocumentedGeneratorAndExactlyAsManyAsAsked) {
  SplitMix64 generator{0};
  EXPECT_EQ(nextRandom(generator), 0xE220'A839'7B1D'CDAFU);  // splitmix64's first output for 0
  EXPECT_EQ(nextRandom(generator), 0x6E78'9E6A'A1B9'65F4U);
  for (const auto& [total, count] : {std::pair{10U, 3U}, {1000U, 999U}, {5U, 9U}}) {
    const auto chosen = chooseReports(total, count, 20261206);
    EXPECT_EQ(std::count(chosen.begin(), chosen.end(), true), std::min(total, count));
  }
}

}  // namespace
}  // namespace gapmerge::test
