// Touching slices merge to the gaps of the whole range: every gap inside a
// slice and every gap across two slices is counted once.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/real_data/real_data.hpp"

namespace gapmerge::test {
namespace {

TEST(RealSlices, mergesOneToTenMillionInEightSlices) {
  const ScratchDir dir;
  ASSERT_TRUE(makeSlices(1, 10'000'000, 8, dir));
  expectExactMerge(dir, 1, 10'000'000, "Tramvelok 8.750.001 to 10.000.000 20261206120000.txt");
}

TEST(RealSlices, mergesThreeSlicesAboveOneBillion) {
  const ScratchDir dir;
  ASSERT_TRUE(makeSlices(1'000'000'000, 1'003'000'000, 3, dir));
  expectExactMerge(dir, 1'000'000'000, 1'003'000'000,
                   "Tramvelok 1.002.000.001 to 1.003.000.000 20261206120000.txt");
}

TEST(RealSlices, mergesTheExamples) {
  const ScratchDir dir;
  for (const auto& entry : std::filesystem::directory_iterator(EXAMPLES_DIR)) {
    if (entry.path().filename().string().starts_with("Tramvelok")) {
      std::filesystem::copy_file(entry.path(), dir.path() / entry.path().filename());
    }
  }
  expectExactMerge(dir, 1, 100'000'000, "Tramvelok 90.000.001 to 100.000.000 20261206120000.txt");
}

}  // namespace
}  // namespace gapmerge::test
