// Touching slices merge to the gaps of the whole range: every gap inside a
// slice and every gap across two slices is counted once.
#include <gtest/gtest.h>

#include "tests/real_data/real_data.hpp"

namespace gapmerge::test {
namespace {

TEST(RealSlices, mergeToTheGapsOfTheWholeRange) {
  const ScratchDir low;
  ASSERT_TRUE(makeSlices(1, 10'000'000, 8, low));
  expectExactMerge(low, 1, 10'000'000, "Tramvelok 8.750.001 to 10.000.000 20261206120000.txt");
  const ScratchDir high;
  ASSERT_TRUE(makeSlices(1'000'000'000, 1'003'000'000, 3, high));
  expectExactMerge(high, 1'000'000'000, 1'003'000'000,
                   "Tramvelok 1.002.000.001 to 1.003.000.000 20261206120000.txt");
  const ScratchDir examples;
  examples.copyExamples();
  expectExactMerge(examples, 1, 100'000'000,
                   "Tramvelok 90.000.001 to 100.000.000 20261206120000.txt");
}

}  // namespace
}  // namespace gapmerge::test
