#include <gtest/gtest.h>

#include <string>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

TEST(WorkedExample, placeholder) {
  ScratchDir dir;
  dir.write("Tramvelok 1 to 30 20260101120000.txt",
            "Gaps [gap, qty]\r\n[1, 1], [2, 4], [4, 3], [6, 1], \r\n");
  const auto result = runGapmerge({"--batch"}, dir.path().string());
  EXPECT_EQ(result.exitStatus, 0);
}

}  // namespace
}  // namespace gapmerge::test
