// gapmerge --coverage on folders of report names: what it lists, in which
// order, and its exit status. The reports are empty: it reads none of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

struct CoverageCase {
  const char* what;
  std::vector<std::string> names;
  std::string listing;
  int exitStatus;
};

TEST(Coverage, listsWhatTheNamesCover) {
  const std::vector<CoverageCase> cases{
      {"touching ranges tile one interval",
       {"Tramvelok 1 to 10 1.txt", "Tramvelok 11 to 1_000 1.txt"},
       "covered: 1 to 1.000 (2 reports)\n",
       0},
      {"hole, overlap, duplicate, a range inside another, unreadable names",
       {"Tramvelok 1 to 1.000 A.txt", "Tramvelok 1.001 to 2.000 A.txt",
        "Tramvelok 1.001 to 2.000 B.txt", "Tramvelok 1.500 to 1.600 A.txt",
        "Tramvelok 3.000 to 4.000 A.txt", "Tramvelok abc to 5 A.txt", "Tramvelok 9 to 8 A.txt"},
       "covered: 1 to 2.000 (4 reports)\n"
       "covered: 3.000 to 4.000 (1 report)\n"
       "hole: 2.001 to 2.999\n"
       "overlap: 1.001 to 2.000\n"
       "duplicate: Tramvelok 1.001 to 2.000 A.txt, Tramvelok 1.001 to 2.000 B.txt\n"
       "unreadable: Tramvelok 9 to 8 A.txt\n"
       "unreadable: Tramvelok abc to 5 A.txt\n",
       3},
      {"the whole of the 64-bit integers",
       {"Tramvelok -9.223.372.036.854.775.808 to 0 A.txt",
        "Tramvelok 1 to 9.223.372.036.854.775.807 A.txt"},
       "covered: -9.223.372.036.854.775.808 to 9.223.372.036.854.775.807 (2 reports)\n",
       0},
      {"an overlap at the top of the 64-bit integers",
       {"Tramvelok 9.223.372.036.854.775.000 to 9.223.372.036.854.775.807 A.txt",
        "Tramvelok 9.223.372.036.854.775.807 to 9.223.372.036.854.775.807 A.txt"},
       "covered: 9.223.372.036.854.775.000 to 9.223.372.036.854.775.807 (2 reports)\n"
       "overlap: 9.223.372.036.854.775.807 to 9.223.372.036.854.775.807\n",
       3},
      {"no report", {}, "no report found\n", 3},
  };
  for (const auto& [what, names, listing, exitStatus] : cases) {
    SCOPED_TRACE(what);
    const ScratchDir dir;
    for (const auto& name : names) {
      dir.write(name, "");
    }
    const auto result = runGapmerge({"--coverage", "-C", dir.path().string()});
    EXPECT_EQ(result.out, listing);
    EXPECT_EQ(result.exitStatus, exitStatus);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "fileout.txt"));
  }
}

}  // namespace
}  // namespace gapmerge::test
