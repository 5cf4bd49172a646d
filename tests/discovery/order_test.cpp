#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "merge/discovery.hpp"

namespace gapmerge {
namespace {

using Paths = std::vector<std::string>;

// Reports directly in the working directory "/w/", as the scan names them.
std::string topLevel(const std::string& name) {
  return "/w//" + name;
}

TEST(OrderReports, groupingMarksSortBelowDigits) {
  Paths reports = {
      topLevel("Tramvelok 2_000 to 3_000.txt"), topLevel("Tramvelok 10.000 to 11.000.txt"),
      topLevel("Tramvelok 10_000 to 11_000.txt"), topLevel("Tramvelok 1.000 to 2.000.txt"),
      topLevel("Tramvelok 1_000 to 2_000.txt")};
  orderReports(reports);
  EXPECT_EQ(
      reports,
      (Paths{topLevel("Tramvelok 1_000 to 2_000.txt"), topLevel("Tramvelok 1.000 to 2.000.txt"),
             topLevel("Tramvelok 10_000 to 11_000.txt"), topLevel("Tramvelok 10.000 to 11.000.txt"),
             topLevel("Tramvelok 2_000 to 3_000.txt")}));
}

TEST(OrderReports, pathsCompareAsIfSeparatedByBackslashes) {
  Paths reports = {topLevel("zz/Tramvelok 0"),          topLevel("Tramvelok 5"),
                   topLevel("Archivea/Tramvelok 3"),    topLevel("Archive/Tramvelok 1"),
                   topLevel("Archive0/Tramvelok 2"),    topLevel("Archive_x/Tramvelok 4"),
                   topLevel("Archive/2019/Tramvelok 6")};
  orderReports(reports);
  EXPECT_EQ(reports, (Paths{topLevel("Archive_x/Tramvelok 4"), topLevel("Archive0/Tramvelok 2"),
                            topLevel("Archive/2019/Tramvelok 6"), topLevel("Archive/Tramvelok 1"),
                            topLevel("Archivea/Tramvelok 3"), topLevel("Tramvelok 5"),
                            topLevel("zz/Tramvelok 0")}));
}

TEST(OrderReports, equalKeysKeepTheirDiscoveryOrder) {
  const Paths found = {topLevel("Tramvelok a_b"), topLevel("Tramvelok 9"),
                       topLevel("Tramvelok a#b"), "/w//x\\Tramvelok 1",
                       topLevel("Tramvelok 1"),   "/w//x/Tramvelok 1"};
  Paths reports = found;
  orderReports(reports);
  EXPECT_EQ(reports,
            (Paths{topLevel("Tramvelok 1"), topLevel("Tramvelok 9"), topLevel("Tramvelok a_b"),
                   topLevel("Tramvelok a#b"), "/w//x\\Tramvelok 1", "/w//x/Tramvelok 1"}));

  Paths reversed(found.rbegin(), found.rend());
  orderReports(reversed);
  EXPECT_EQ(reversed,
            (Paths{topLevel("Tramvelok 1"), topLevel("Tramvelok 9"), topLevel("Tramvelok a#b"),
                   topLevel("Tramvelok a_b"), "/w//x/Tramvelok 1", "/w//x\\Tramvelok 1"}));
}

// The name of group g whose three marks are "_" or "#" as the bits of variant v say.
std::string markedName(int group, int variant) {
  std::string name = "Tramvelok " + std::to_string(group);
  for (int bit = 0; bit < 3; ++bit) {
    name += (variant >> bit) % 2 == 0 ? "_" : "#";
    name += std::to_string(bit);
  }
  return topLevel(name);
}

TEST(OrderReports, manyEqualKeysKeepTheirDiscoveryOrder) {
  Paths reports;
  for (int variant = 0; variant < 8; ++variant) {
    for (int group = 7; group >= 0; --group) {
      reports.push_back(markedName(group, variant));
    }
  }
  orderReports(reports);
  Paths expected;
  for (int group = 0; group < 8; ++group) {
    for (int variant = 0; variant < 8; ++variant) {
      expected.push_back(markedName(group, variant));
    }
  }
  EXPECT_EQ(reports, expected);
}

TEST(OrderReports, namesCompareAsUtf16CodeUnits) {
  const std::string belowSurrogates = topLevel("Tramvelok \xED\x9F\xBF");    // U+D7FF
  const std::string supplementary = topLevel("Tramvelok \xF0\x9F\x98\x80");  // U+1F600
  const std::string privateUse = topLevel("Tramvelok \xEE\x80\x80");         // U+E000
  const std::string lastOfPlane = topLevel("Tramvelok \xEF\xBF\xBF");        // U+FFFF
  const std::string latin = topLevel("Tramvelok \xC3\xA9");                  // U+00E9
  Paths reports = {lastOfPlane, privateUse, supplementary, belowSurrogates, latin};
  orderReports(reports);
  EXPECT_EQ(reports, (Paths{latin, belowSurrogates, supplementary, privateUse, lastOfPlane}));

  EXPECT_EQ(orderingKey("a_b/c\\d"), u"a#b\\c\\d");
  EXPECT_EQ(orderingKey("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(orderingKey("\xEE\x80\x80_"), u"\uE000#");
}

TEST(OrderReports, emptyAndSingleLists) {
  Paths none;
  orderReports(none);
  EXPECT_TRUE(none.empty());
  Paths one = {topLevel("Tramvelok_1")};
  orderReports(one);
  EXPECT_EQ(one, Paths{topLevel("Tramvelok_1")});
}

}  // namespace
}  // namespace gapmerge
