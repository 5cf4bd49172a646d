#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "tests/real_data/make_slices_runner.hpp"
#include "tests/real_data/prime_gaps.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

// Report name to report text, for every file in folder.
std::map<std::string, std::string> readReports(const std::filesystem::path& folder) {
  std::map<std::string, std::string> reports;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    reports[entry.path().filename().string()] = readFile(entry.path());
  }
  return reports;
}

std::map<std::string, std::string> generate(const ScratchDir& dir,
                                            const std::vector<std::string>& arguments) {
  std::vector<std::string> all(arguments);
  all.insert(all.end(), {"--out", dir.path().string()});
  const auto result = runMakeSlices(all);
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  return readReports(dir.path());
}

bool hasLine(const std::string& report, const std::string& line) {
  return report.starts_with(line + "\r\n") ||
         report.find("\r\n" + line + "\r\n") != std::string::npos;
}

TEST(MakeSlices, writesTheWholeReportOfOneSlice) {
  ScratchDir dir;
  const auto reports = generate(dir, {"--from", "1", "--to", "30", "--slices", "1"});
  ASSERT_EQ(reports.size(), 1U);
  EXPECT_EQ(reports.begin()->first, "Tramvelok 1 to 30 20261206120000.txt");
  EXPECT_EQ(reports.begin()->second,
            "maxStoredPrimes = 50.000.000\r\n"
            "ThreadedFlag = 1\r\n"
            "Algorithm = Segmented\r\n"
            "PageSizeLimit = 32.768\r\n"
            "nSlicesMaxLimit = 1.000\r\n"
            "maxConcurrentThreads = 8\r\n"
            "nmin = 1\r\n"
            "nmax = 30\r\n"
            "Tramvelok - found 10 primes\r\n"
            "Tramvelok - 10 primes in 0.000s\r\n"
            "Tramvelok - Total gaps : 9\r\n"
            "First prime in range : 2\r\n"
            "Last prime in range : 29\r\n"
            "Gaps [gap, qty]\r\n"
            "[1, 1], [2, 4], [4, 3], [6, 1], \r\n");
}

TEST(MakeSlices, groupsLargeNumbersWithDots) {
  ScratchDir dir;
  const auto reports = generate(dir, {"--from", "1", "--to", "10000000", "--slices", "1"});
  ASSERT_EQ(reports.size(), 1U);
  EXPECT_EQ(reports.begin()->first, "Tramvelok 1 to 10.000.000 20261206120000.txt");
  const std::string& report = reports.begin()->second;
  EXPECT_TRUE(hasLine(report, "nmax = 10.000.000"));
  EXPECT_TRUE(hasLine(report, "Tramvelok - found 664.579 primes"));
  EXPECT_TRUE(hasLine(report, "Tramvelok - 664.579 primes in 0.000s"));
  EXPECT_TRUE(hasLine(report, "Tramvelok - Total gaps : 664.578"));
  EXPECT_TRUE(hasLine(report, "Last prime in range : 9.999.991"));
}

TEST(MakeSlices, cutsTouchingSlicesOfEqualWidth) {
  ScratchDir dir;
  const auto reports = generate(dir, {"--from", "1000", "--to", "1300", "--slices", "3"});
  const std::map<std::string, std::string> expected = {
      {"Tramvelok 1.000 to 1.100 20261206120000.txt", "nmin = 1.000\r\nnmax = 1.100\r\n"},
      {"Tramvelok 1.101 to 1.200 20261206120000.txt", "nmin = 1.101\r\nnmax = 1.200\r\n"},
      {"Tramvelok 1.201 to 1.300 20261206120000.txt", "nmin = 1.201\r\nnmax = 1.300\r\n"},
  };
  ASSERT_EQ(reports.size(), expected.size());
  for (const auto& [name, bounds] : expected) {
    ASSERT_TRUE(reports.contains(name)) << name;
    EXPECT_NE(reports.at(name).find(bounds), std::string::npos) << name;
  }
}

TEST(MakeSlices, cutsSlicesOfAGivenSize) {
  ScratchDir dir;
  const auto reports = generate(dir, {"--from", "100", "--to", "1000", "--size", "300"});
  EXPECT_EQ(reports.size(), 4U);
  EXPECT_TRUE(reports.contains("Tramvelok 100 to 399 20261206120000.txt"));
  EXPECT_TRUE(reports.contains("Tramvelok 400 to 699 20261206120000.txt"));
  EXPECT_TRUE(reports.contains("Tramvelok 700 to 999 20261206120000.txt"));
  EXPECT_TRUE(reports.contains("Tramvelok 1.000 to 1.000 20261206120000.txt"));
}

TEST(MakeSlices, slicesCountEveryPrimeOnce) {
  ScratchDir dir;
  const auto reports = generate(dir, {"--from", "1", "--to", "1000000", "--slices", "7"});
  ASSERT_EQ(reports.size(), 7U);
  long long total = 0;
  for (const auto& [name, text] : reports) {
    const std::string key = "\r\nTramvelok - found ";
    const auto at = text.find(key);
    ASSERT_NE(at, std::string::npos) << name;
    std::string digits;
    for (std::size_t i = at + key.size(); text[i] != ' '; ++i) {
      if (text[i] != '.') {
        digits.push_back(text[i]);
      }
    }
    total += std::stoll(digits);
  }
  EXPECT_EQ(total, countPrimes(1, 1'000'000));
}

TEST(MakeSlices, gradesOnlyRangesFromOneToAPowerOfTen) {
  const auto graded = [](const std::vector<std::string>& arguments) {
    ScratchDir dir;
    const auto reports = generate(dir, arguments);
    const std::string& report = reports.begin()->second;
    const bool good = report.find("... good guess\r\n") != std::string::npos;
    const bool excellent = report.find("... excellent\r\n") != std::string::npos;
    EXPECT_EQ(good, excellent);
    return good && excellent;
  };
  EXPECT_TRUE(graded({"--from", "1", "--to", "100000", "--slices", "1"}));
  EXPECT_TRUE(graded({"--from", "0", "--to", "1000", "--slices", "1"}));
  EXPECT_FALSE(graded({"--from", "1", "--to", "200000", "--slices", "1"}));
  EXPECT_FALSE(graded({"--from", "2", "--to", "1000", "--slices", "1"}));
}

TEST(MakeSlices, writesASliceWithoutPrimes) {
  ScratchDir dir;
  const auto reports = generate(dir, {"--from", "24", "--to", "28", "--slices", "1"});
  ASSERT_EQ(reports.size(), 1U);
  const std::string& report = reports.begin()->second;
  EXPECT_TRUE(hasLine(report, "Tramvelok - found 0 primes"));
  EXPECT_TRUE(hasLine(report, "Tramvelok - 0 primes in 0.000s"));
  EXPECT_EQ(report.find("prime in range"), std::string::npos);
  EXPECT_TRUE(report.ends_with("\r\nGaps [gap, qty]\r\n\r\n"));
}

TEST(MakeSlices, writesASliceWithOnePrime) {
  ScratchDir dir;
  const auto reports = generate(dir, {"--from", "24", "--to", "30", "--slices", "1"});
  ASSERT_EQ(reports.size(), 1U);
  const std::string& report = reports.begin()->second;
  EXPECT_TRUE(hasLine(report, "Tramvelok - found 1 primes"));
  EXPECT_TRUE(hasLine(report, "Tramvelok - Total gaps : 0"));
  EXPECT_TRUE(hasLine(report, "First prime in range : 29"));
  EXPECT_TRUE(hasLine(report, "Last prime in range : 29"));
  EXPECT_TRUE(report.ends_with("\r\nGaps [gap, qty]\r\n\r\n"));
}

TEST(MakeSlices, takesTheTimeStampFromTheCommandLine) {
  ScratchDir dir;
  const auto reports =
      generate(dir, {"--from", "1", "--to", "1_000", "--slices", "1", "--stamp", "19991231235959"});
  ASSERT_EQ(reports.size(), 1U);
  EXPECT_EQ(reports.begin()->first, "Tramvelok 1 to 1.000 19991231235959.txt");
}

TEST(MakeSlices, writesTheMeasuredTimeWhenAsked) {
  ScratchDir dir;
  const auto reports =
      generate(dir, {"--from", "1", "--to", "100000", "--slices", "1", "--measure-time"});
  ASSERT_EQ(reports.size(), 1U);
  const std::regex timed(R"(\r\nTramvelok - 9\.592 primes in [0-9]+\.[0-9]{3}s\r\n)");
  EXPECT_TRUE(std::regex_search(reports.begin()->second, timed)) << reports.begin()->second;
}

TEST(MakeSlices, rejectsWrongCommandLines) {
  ScratchDir dir;
  const std::string out = dir.path().string();
  const std::vector<std::vector<std::string>> wrong = {
      {"--from", "1", "--to", "100", "--slices", "2"},
      {"--from", "1", "--to", "100", "--slices", "2", "--size", "5", "--out", out},
      {"--from", "1", "--to", "100", "--out", out},
      {"--from", "200", "--to", "100", "--slices", "1", "--out", out},
      {"--from", "1", "--to", "10", "--slices", "11", "--out", out},
      {"--from", "1", "--to", "1e9", "--slices", "1", "--out", out},
      {"--from", "1", "--to", "100", "--slices", "1", "--stamp", "2026", "--out", out},
      {"--from", "1", "--to", "100", "--slices", "1", "--out", out, "--frobnicate", "1"},
      {"--from", "1", "--to", "100", "--slices", "1", "--out"},
  };
  for (const auto& arguments : wrong) {
    const auto result = runMakeSlices(arguments);
    EXPECT_EQ(result.exitStatus, 2) << arguments[3];
    EXPECT_TRUE(result.err.starts_with("make-slices: ")) << result.err;
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(MakeSlices, printsItsHelp) {
  const auto result = runMakeSlices({"--help"});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_TRUE(result.out.starts_with("usage: make-slices ")) << result.out;
}

}  // namespace
}  // namespace gapmerge::test
