#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "merge/discovery.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge {
namespace {

using Paths = std::vector<std::string>;
using test::ScratchDir;

Paths pathsOf(const ReportList& list) {
  Paths paths;
  for (std::size_t i = 0; i < list.size(); ++i) {
    paths.emplace_back(list.pathView(i));
  }
  return paths;
}

Paths ordered(const Paths& paths) {
  ReportList list;
  for (const auto& path : paths) {
    list.add(path);
  }
  orderReports(list);
  return pathsOf(list);
}

Paths found(const ScratchDir& dir) {
  return pathsOf(findReports(dir.asWorkingDirectory()));
}

// The path under which the scan lists a file found below the scratch folder.
std::string listed(const ScratchDir& dir, const std::string& relative) {
  return dir.asWorkingDirectory() + "/" + relative;
}

// "_" reads as "#" and "/" as a backslash: such paths have equal keys and keep their order.
TEST(OrderReports, equalKeysKeepTheirDiscoveryOrderBothWays) {
  Paths equal = {"/w//T a_b", "/w//T a#b", "/w//x\\T", "/w//x/T"};
  for (int pass = 0; pass < 2; ++pass) {
    const Paths reports = {equal[0], "/w//T 9", equal[3], equal[1], "/w//T 1", equal[2]};
    EXPECT_EQ(ordered(reports),
              (Paths{"/w//T 1", "/w//T 9", equal[0], equal[1], equal[3], equal[2]}));
    std::swap(equal[0], equal[1]);
    std::swap(equal[2], equal[3]);
  }
}

TEST(OrderReports, namesCompareAsUtf16CodeUnits) {
  const std::string latin = "/w//Tramvelok \xC3\xA9";                  // U+00E9
  const std::string belowSurrogates = "/w//Tramvelok \xED\x9F\xBF";    // U+D7FF
  const std::string supplementary = "/w//Tramvelok \xF0\x9F\x98\x80";  // U+1F600
  const std::string privateUse = "/w//Tramvelok \xEE\x80\x80";         // U+E000
  const std::string lastOfPlane = "/w//Tramvelok \xEF\xBF\xBF";        // U+FFFF
  EXPECT_EQ(ordered({lastOfPlane, privateUse, supplementary, belowSurrogates, latin}),
            (Paths{latin, belowSurrogates, supplementary, privateUse, lastOfPlane}));
}

// Case-sensitive prefix; "_" sorts below "." and digits, subfolders against
// top-level reports as if "\" separated them.
TEST(FindReports, reportsBelowTheFolderInProcessingOrder) {
  const ScratchDir dir;
  const Paths reports = {".hidden/Tramvelok h",
                         "Archive_x/Tramvelok 4",
                         "Archive0/Tramvelok 2",
                         "Archive/Tramvelok 1",
                         "Archive/old/Tramvelok 0",
                         "Tramvelok 1_0",
                         "Tramvelok 1.0",
                         "Tramvelok 10",
                         "Tramvelok 2",
                         "Tramvelok dir/Tramvelok inner",
                         "Tramvelok.x",
                         "zz/Tramvelok 0"};
  Paths expected;
  for (const auto& name : reports) {
    dir.write(name, "");
    expected.push_back(listed(dir, name));
  }
  for (const char* name : {"tramvelok x", "xTramvelok 1", " Tramvelok", "Tramvelok dir/notes"}) {
    dir.write(name, "");
  }
  std::filesystem::create_directories(dir.path() / "Tramvelok dir" / "Tramvelok empty");
  EXPECT_EQ(found(dir), expected);
  EXPECT_EQ(expected.front(), dir.path().string() + "//.hidden/Tramvelok h");
}

// Folders nested deeper than the longest path the system resolves cannot be
// listed by path, even by the superuser; the scan goes on past them.
TEST(FindReports, foldersBeyondThePathLimitDoNotStopTheScan) {
  const ScratchDir dir;
  dir.write("Tramvelok top", "");
  dir.write("zz/Tramvelok after", "");
  Paths expected = {listed(dir, "Tramvelok top"), listed(dir, "zz/Tramvelok after")};
  const std::string name(200, 'd');
  const std::string report = "Tramvelok deep";
  std::vector<int> chain{::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  std::string folder;
  while (chain.size() <= 30 && chain.back() >= 0) {
    ::mkdirat(chain.back(), name.c_str(), 0700);
    chain.push_back(::openat(chain.back(), name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ::close(::openat(chain.back(), report.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    folder += name + "/";
    if (listed(dir, folder + report).size() < PATH_MAX) {
      expected.push_back(listed(dir, folder + report));
    }
  }
  const Paths reports = found(dir);
  for (std::size_t level = chain.size() - 1; level > 0; --level) {
    ::unlinkat(chain[level], report.c_str(), 0);
    ::close(chain[level]);
    ::unlinkat(chain[level - 1], name.c_str(), AT_REMOVEDIR);
  }
  ::close(chain.front());
  ASSERT_EQ(chain.size(), 31U);
  ASSERT_LT(expected.size(), 32U);
  for (const auto& path : expected) {
    EXPECT_EQ(std::count(reports.begin(), reports.end(), path), 1) << path.size();
  }
}

}  // namespace
}  // namespace gapmerge
