#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

TEST(CommandLine, helpAndVersionPrintAndSucceed) {
  const auto help = runGapmerge({"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("--batch"), std::string::npos);
  EXPECT_NE(help.out.find("--range-order"), std::string::npos);
  const auto version = runGapmerge({"--version"});
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(version.out.rfind("gapmerge ", 0), 0U);
}

TEST(CommandLine, badArgumentsAreUsageErrors) {
  ScratchDir dir;
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"--frobnicate"}, {"--batch", "extra"}, {"-C"}, {"--batch", "-C", "no/such/dir"}}) {
    const auto result = runGapmerge(arguments, dir.path().string());
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_NE(result.err.find("usage: gapmerge"), std::string::npos);
    EXPECT_TRUE(result.out.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "fileout.txt"));
}

TEST(CommandLine, directoryOptionRunsInThatFolder) {
  ScratchDir dir;
  dir.write("sub/Tramvelok 1 to 10 20261206120000.txt", "Gaps [gap, qty]\n[1, 1], [2, 2], \n");
  const auto result = runGapmerge({"-C", "sub", "--batch"}, dir.path().string());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_NE(result.out.find("OutputDirectory : " + dir.asWorkingDirectory() + "sub/\n"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "sub" / "fileout.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "fileout.txt"));
}

}  // namespace
}  // namespace gapmerge::test
