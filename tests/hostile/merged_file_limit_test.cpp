// Runs whose merged file meets the file size limit exactly where the closing
// sections begin, or a byte before its end.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/hostile/hostile_support.hpp"

namespace gapmerge::test {
namespace {

constexpr std::string_view separatorLine =
    "---------------------------------------------------------------\r\n";

std::string incompleteWarning(const ScratchDir& dir) {
  return "fileout.txt : Merged results file is incomplete, writing failed in " +
         dir.asWorkingDirectory() + "\n\n\n";
}

TEST(MergedFileLimit, aFileCutAtItsClosingSectionsIsNeverPresentedAsComplete) {
  ScratchDir dir;
  writeNeighbours(dir);
  dir.write(holeName, holeReport);
  const auto unlimited = runGapmerge({"--batch"}, dir.path().string());
  const std::string whole = readFile(dir.path() / "fileout.txt");
  ASSERT_EQ(unlimited.exitStatus, 0);
  // The per-report sections end with the third separator line.
  const auto closing = whole.rfind(separatorLine) + separatorLine.size();
  ASSERT_EQ(countOf(whole.substr(0, closing), separatorLine), 3U);
  ASSERT_TRUE(whole.ends_with("nGaps : 9\r\n"));

  for (const std::size_t limit : {closing, closing + 1, whole.size() - 1}) {
    SCOPED_TRACE("limit " + std::to_string(limit) + " of " + std::to_string(whole.size()));
    const auto result = runGapmerge({"--batch"}, dir.path().string(),
                                    {.fileSizeLimit = static_cast<long long>(limit)});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_TRUE(result.out.ends_with(incompleteWarning(dir))) << result.out;
    // What did reach the file is the beginning of the whole file.
    EXPECT_EQ(readFile(dir.path() / "fileout.txt"), whole.substr(0, limit));
    // The summary is printed in full all the same.
    EXPECT_TRUE(contains(result.out, "nGaps : 9\n"));
  }
  {
    SCOPED_TRACE("a limit of exactly the whole file");
    const auto result = runGapmerge({"--batch"}, dir.path().string(),
                                    {.fileSizeLimit = static_cast<long long>(whole.size())});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_FALSE(contains(result.out, "incomplete"));
    EXPECT_EQ(readFile(dir.path() / "fileout.txt"), whole);
  }
}

}  // namespace
}  // namespace gapmerge::test
