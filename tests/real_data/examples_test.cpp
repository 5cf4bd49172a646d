#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/real_data/make_slices_runner.hpp"
#include "tests/real_data/merge_output.hpp"
#include "tests/real_data/prime_gaps.hpp"
#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

const std::filesystem::path examples = EXAMPLES_DIR;
constexpr long long examplesTo = 100'000'000;
constexpr int exampleSlices = 10;

// Report name to report text, for the slice reports in folder.
std::map<std::string, std::string> readReports(const std::filesystem::path& folder) {
  std::map<std::string, std::string> reports;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("Tramvelok")) {
      reports[name] = readFile(entry.path());
    }
  }
  return reports;
}

void copyExamples(const ScratchDir& dir) {
  for (const auto& [name, text] : readReports(examples)) {
    dir.write(name, text);
  }
}

TEST(Examples, areWhatMakeSlicesWritesToday) {
  ScratchDir dir;
  ASSERT_TRUE(makeSlices(1, examplesTo, exampleSlices, dir.path()));
  const auto expected = readReports(dir.path());
  const auto actual = readReports(examples);
  ASSERT_EQ(expected.size(), static_cast<std::size_t>(exampleSlices));
  EXPECT_TRUE(actual == expected) << "regenerate examples/ as examples/README.md says";
}

TEST(Examples, mergeInBatchRunFromAnotherFolder) {
  ScratchDir dir;
  copyExamples(dir);
  const auto result = runGapmerge({"--batch", "-C", dir.path().string()});
  EXPECT_EQ(result.exitStatus, 0) << result.err;

  const std::string gapTotal = std::to_string(countPrimes(1, examplesTo) - 1);
  const BatchText text = splitBatchText(result.out);
  EXPECT_TRUE(text.summary.starts_with("\nGaps [gap, qty]\n")) << text.summary;
  EXPECT_TRUE(text.summary.ends_with("\nnGaps : " + gapTotal + "\n")) << text.summary;
  EXPECT_EQ(text.fileName, "Tramvelok 90.000.001 to 100.000.000 20261206120000.txt");
  EXPECT_EQ(text.outputDirectory, dir.asWorkingDirectory());
  EXPECT_FALSE(text.warningLines.empty());
  for (const auto& line : text.warningLines) {
    EXPECT_TRUE(isEstimateWarning(line)) << line;
  }

  const ClosingTotals totals = readClosingTotals(readFile(dir.path() / "fileout.txt"));
  EXPECT_EQ(totals.gaps, countGaps(1, examplesTo));
  EXPECT_EQ(std::to_string(totals.histogramTotal), gapTotal);
}

}  // namespace
}  // namespace gapmerge::test
