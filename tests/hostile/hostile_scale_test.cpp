// Runs over huge reports in bounded memory. A reader that is not linear in
// its input would take hours here.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

constexpr bool sanitized = GAPMERGE_SANITIZED != 0;  // slower, and its memory says nothing

// Runs gapmerge --batch in dir and expects it to end normally within the
// peak memory given.
void runBounded(const ScratchDir& dir, long long kib) {
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  if (!sanitized) {
    EXPECT_GT(result.peakMemoryKiB, 0);
    EXPECT_LT(result.peakMemoryKiB, kib);
  }
}

TEST(Scale, hugeLinesAndManyLinesAreReadOnceInBoundedMemory) {
  constexpr std::size_t line = 200'000'000;
  // A 200 MB line may be held with one copy and room for the buffers' growth.
  constexpr long long lineBound = static_cast<long long>(line) * 5 / 2 / 1024;
  struct Case {
    std::string what, head, piece;
    std::size_t times;
    std::string total;
    long long kib;
  };
  const Case cases[] = {
      {"one line of 200 MB of digits", "", "7777777777", line / 10, "0", lineBound},
      {"a gap table line of 200 MB", "Gaps [gap, qty]\n", "[2, 1], ", line / 8, "25000000",
       lineBound},
      {"a million short lines", "", "Gaps [gap, qty]\n[2, 1], \n", 500'000, "500000", 64 * 1024},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ScratchDir dir;
    {
      std::ofstream out(dir.path() / "Tramvelok 1 to 10 20261206120000.txt", std::ios::binary);
      out << c.head;
      // Pieces are written in blocks of about a megabyte.
      const std::size_t perBlock = (1U << 20U) / c.piece.size();
      std::string block;
      for (std::size_t i = 0; i < perBlock; ++i) {
        block += c.piece;
      }
      for (std::size_t done = 0; done < c.times; done += perBlock) {
        out.write(block.data(), static_cast<std::streamsize>(std::min(perBlock, c.times - done) *
                                                             c.piece.size()));
      }
      ASSERT_TRUE(out.good());
    }
    runBounded(dir, c.kib);
    EXPECT_TRUE(readFile(dir.path() / "fileout.txt").ends_with("\r\nnGaps : " + c.total + "\r\n"));
  }
}

}  // namespace
}  // namespace gapmerge::test
