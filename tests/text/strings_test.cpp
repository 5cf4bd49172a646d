#include "text/strings.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

#include "tests/support/scratch_dir.hpp"

namespace gapmerge {
namespace {

constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();

TEST(Strings, leftPartAndMidPartClampTheirBounds) {
  EXPECT_EQ(leftPart("abc", -1), "");
  EXPECT_EQ(leftPart("abc", 0), "");
  EXPECT_EQ(leftPart("abc", 2), "ab");
  EXPECT_EQ(leftPart("abc", 3), "abc");
  EXPECT_EQ(leftPart("abc", 4), "abc");
  EXPECT_EQ(leftPart("abc", int64Max), "abc");
  EXPECT_EQ(leftPart("", 5), "");

  EXPECT_EQ(midPart("abc", int64Min), "abc");
  EXPECT_EQ(midPart("abc", 0), "abc");
  EXPECT_EQ(midPart("abc", 1), "abc");
  EXPECT_EQ(midPart("abc", 3), "c");
  EXPECT_EQ(midPart("abc", 4), "");
  EXPECT_EQ(midPart("abc", int64Max), "");
  EXPECT_EQ(midPart("", 1), "");
}

TEST(Strings, findTextCountsFromOneAndStartsAtP) {
  EXPECT_EQ(findText("abcabc", "bc"), 2U);
  EXPECT_EQ(findText("abcabc", "bc", -7), 2U);
  EXPECT_EQ(findText("abcabc", "bc", 0), 2U);
  EXPECT_EQ(findText("abcabc", "bc", 2), 2U);
  EXPECT_EQ(findText("abcabc", "bc", 3), 5U);
  EXPECT_EQ(findText("abcabc", "bc", 5), 5U);
  EXPECT_EQ(findText("abcabc", "bc", 6), 0U);
  EXPECT_EQ(findText("abcabc", "bc", 7), 0U);
  EXPECT_EQ(findText("abcabc", "bc", int64Max), 0U);
  EXPECT_EQ(findText("aaa", "aa", 2), 2U);
  EXPECT_EQ(findText("abc", "abc"), 1U);
  EXPECT_EQ(findText("ab", "abc"), 0U);
  EXPECT_EQ(findText("ABC", "b"), 0U);
  EXPECT_EQ(findText("", "a"), 0U);
  EXPECT_EQ(findText("abc", ""), 0U);
  EXPECT_EQ(findText("", ""), 0U);
}

TEST(Strings, replaceAllGoesOnBehindEachOccurrence) {
  EXPECT_EQ(replaceAll("aaa", "aa", ""), "a");
  EXPECT_EQ(replaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(replaceAll("ab", "a", "aa"), "aab");
  EXPECT_EQ(replaceAll("a_b__c_", "_", "#"), "a#b##c#");
  EXPECT_EQ(replaceAll("1_000_000", "_", ""), "1000000");
  EXPECT_EQ(replaceAll("Aa", "a", "x"), "Ax");
  EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(replaceAll("", "a", "b"), "");
  EXPECT_EQ(replaceAll("abc", "abcd", "x"), "abc");
}

TEST(Strings, fieldAtSplitsAtEveryWholeSeparator) {
  EXPECT_EQ(fieldAt("a b  c", 1, " "), "a");
  EXPECT_EQ(fieldAt("a b  c", 2, " "), "b");
  EXPECT_EQ(fieldAt("a b  c", 3, " "), "");
  EXPECT_EQ(fieldAt("a b  c", 4, " "), "c");
  EXPECT_EQ(fieldAt("a b  c", 5, " "), "");
  EXPECT_EQ(fieldAt("a b  c", 0, " "), "");
  EXPECT_EQ(fieldAt("a b  c", -1, " "), "");

  EXPECT_EQ(fieldAt("abc", 1, ","), "abc");
  EXPECT_EQ(fieldAt("abc", 2, ","), "");
  EXPECT_EQ(fieldAt("", 1, ","), "");
  EXPECT_EQ(fieldAt("", 2, ","), "");
  EXPECT_EQ(fieldAt(",a,", 1, ","), "");
  EXPECT_EQ(fieldAt(",a,", 2, ","), "a");
  EXPECT_EQ(fieldAt(",a,", 3, ","), "");
  EXPECT_EQ(fieldAt(",a,", 4, ","), "");
  EXPECT_EQ(fieldAt("[1, 1], [2, 4]", 3, "["), "2, 4]");
  EXPECT_EQ(fieldAt("2 to 30", 2, "-"), "");

  EXPECT_EQ(fieldAt("1234 primes in 100 to 200", 1, " primes in "), "1234");
  EXPECT_EQ(fieldAt("1234 primes in 100 to 200", 2, " primes in "), "100 to 200");
  EXPECT_EQ(fieldAt("1234 primes in 100 to 200", 3, " primes in "), "");
  EXPECT_EQ(fieldAt("1234 primes  in 100", 2, " primes in "), "");
  EXPECT_EQ(fieldAt("aaa", 1, "aa"), "");
  EXPECT_EQ(fieldAt("aaa", 2, "aa"), "a");
  EXPECT_EQ(fieldAt("aaaa", 2, "aa"), "");
  EXPECT_EQ(fieldAt("aaaa", 3, "aa"), "");
  EXPECT_EQ(fieldAt("aaaa", 4, "aa"), "");

  EXPECT_EQ(fieldAt("abc", 1, ""), "abc");
  EXPECT_EQ(fieldAt("abc", 2, ""), "");
  EXPECT_EQ(fieldAt("abc", int64Max, ""), "");
  EXPECT_EQ(fieldAt("a b", int64Max, " "), "");
}

TEST(Strings, trimSpacesRemovesOnlyBlanks) {
  EXPECT_EQ(trimSpaces("  a b  "), "a b");
  EXPECT_EQ(trimSpaces("\t a \t"), "\t a \t");
  EXPECT_EQ(trimSpaces(" \ta\t "), "\ta\t");
  EXPECT_EQ(trimSpaces("   "), "");
  EXPECT_EQ(trimSpaces(""), "");
}

TEST(Strings, parseIntegerReadsSignBaseAndDigits) {
  EXPECT_EQ(parseInteger("  -12ab"), -12);
  EXPECT_EQ(parseInteger("\t \t42"), 42);
  EXPECT_EQ(parseInteger("+7"), 7);
  EXPECT_EQ(parseInteger("- 7"), 0);
  EXPECT_EQ(parseInteger("+ 7"), 0);
  EXPECT_EQ(parseInteger("--5"), 0);
  EXPECT_EQ(parseInteger("+-5"), 0);
  EXPECT_EQ(parseInteger("\n5"), 0);
  EXPECT_EQ(parseInteger("1.000"), 1);
  EXPECT_EQ(parseInteger("1_000"), 1);
  EXPECT_EQ(parseInteger("12 34"), 12);
  EXPECT_EQ(parseInteger(""), 0);
  EXPECT_EQ(parseInteger("   "), 0);
  EXPECT_EQ(parseInteger("-"), 0);
  EXPECT_EQ(parseInteger("x1"), 0);

  EXPECT_EQ(parseInteger("$ff"), 255);
  EXPECT_EQ(parseInteger("$FF"), 255);
  EXPECT_EQ(parseInteger("-$1A"), -26);
  EXPECT_EQ(parseInteger("+$10"), 16);
  EXPECT_EQ(parseInteger("$fg"), 15);
  EXPECT_EQ(parseInteger("$"), 0);
  EXPECT_EQ(parseInteger("$-1"), 0);
  EXPECT_EQ(parseInteger("%101"), 5);
  EXPECT_EQ(parseInteger("%1012"), 5);
  EXPECT_EQ(parseInteger("%2"), 0);
  EXPECT_EQ(parseInteger("-%11"), -3);
  EXPECT_EQ(parseInteger("5$1"), 5);
}

TEST(Strings, parseIntegerWrapsAroundPast64Bits) {
  EXPECT_EQ(parseInteger("99999999999999999999"), 7766279631452241919);
  EXPECT_EQ(parseInteger("-99999999999999999999"), -7766279631452241919);
  EXPECT_EQ(parseInteger("9223372036854775807"), int64Max);
  EXPECT_EQ(parseInteger("-9223372036854775808"), int64Min);
  EXPECT_EQ(parseInteger("9223372036854775808"), int64Min);
  EXPECT_EQ(parseInteger("18446744073709551615"), -1);
  EXPECT_EQ(parseInteger("18446744073709551616"), 0);
  EXPECT_EQ(parseInteger("$ffffffffffffffff"), -1);
  EXPECT_EQ(parseInteger("$7fffffffffffffff"), int64Max);
  EXPECT_EQ(parseInteger("$10000000000000001"), 1);
  EXPECT_EQ(parseInteger("$123456789abcdef012"), 0x3456789ABCDEF012);
  EXPECT_EQ(parseInteger("%1" + std::string(64, '0')), 0);
  EXPECT_EQ(parseInteger("%" + std::string(65, '1')), -1);
}

TEST(Strings, filePartTakesTheTextAfterTheLastSeparator) {
  EXPECT_EQ(filePart("/a/b/Tramvelok 1.txt"), "Tramvelok 1.txt");
  EXPECT_EQ(filePart("/w//Tramvelok 1"), "Tramvelok 1");
  EXPECT_EQ(filePart("a\\b"), "b");
  EXPECT_EQ(filePart("a/b\\c"), "c");
  EXPECT_EQ(filePart("a\\b/c"), "c");
  EXPECT_EQ(filePart("name.txt"), "name.txt");
  EXPECT_EQ(filePart("dir/"), "");
  EXPECT_EQ(filePart(""), "");
}

TEST(Strings, workingDirectoryIsThePhysicalCurrentFolderWithASlash) {
  const std::filesystem::path before = std::filesystem::current_path();
  const std::string initial = workingDirectory();
  ASSERT_FALSE(initial.empty());
  EXPECT_EQ(initial.front(), '/');
  EXPECT_EQ(initial.back(), '/');

  const test::ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "real");
  std::filesystem::create_directory_symlink(dir.path() / "real", dir.path() / "link");
  const std::string real = dir.path().string() + "/real/";

  ASSERT_EQ(::chdir(dir.path().c_str()), 0);
  const std::string scratch = workingDirectory();
  ASSERT_EQ(::chdir((dir.path() / "link").c_str()), 0);
  const std::string throughLink = workingDirectory();
  ASSERT_EQ(::chdir("/"), 0);
  const std::string root = workingDirectory();
  std::filesystem::current_path(before);

  EXPECT_EQ(scratch, dir.asWorkingDirectory());
  EXPECT_EQ(throughLink, real);
  EXPECT_EQ(root, "/");
}

}  // namespace
}  // namespace gapmerge
