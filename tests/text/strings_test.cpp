#include "text/strings.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

#include "tests/support/scratch_dir.hpp"

namespace gapmerge {
namespace {

constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();

TEST(Strings, replaceTrimAndFilePart) {
  EXPECT_EQ(replaceAll("aaa", "aa", ""), "a");
  EXPECT_EQ(replaceAll("ab", "a", "aa"), "aab");
  EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(trimSpaces(" \ta\t "), "\ta\t");
  EXPECT_EQ(filePart("/w//Tramvelok 1"), "Tramvelok 1");
  EXPECT_EQ(filePart("a/b\\c"), "c");
  EXPECT_EQ(filePart("dir/"), "");
}

// Fields 0 to last of text, each followed by "|".
std::string fields(std::string_view text, std::string_view separator, std::int64_t last) {
  std::string joined;
  for (std::int64_t n = 0; n <= last; ++n) {
    joined += std::string(fieldAt(text, n, separator)) + "|";
  }
  return joined;
}

TEST(Strings, fieldAtSplitsAtEveryWholeSeparator) {
  EXPECT_EQ(fields("a b  c", " ", 5), "|a|b||c||");
  EXPECT_EQ(fields(",a,", ",", 4), "||a|||");
  EXPECT_EQ(fields("", ",", 2), "|||");
  EXPECT_EQ(fields("aaa", "aa", 3), "||a||");
  EXPECT_EQ(fields("aaaa", "aa", 4), "|||||");
  EXPECT_EQ(fields("abc", "", 2), "|abc||");
  EXPECT_EQ(fields("[1, 1], [2, 4]", "[", 4), "||1, 1], |2, 4]||");
  EXPECT_EQ(fields("1234 primes in 100 to 200", " primes in ", 3), "|1234|100 to 200||");
  EXPECT_EQ(fields("1234 primes  in 100", " primes in ", 2), "|1234 primes  in 100||");
  EXPECT_EQ(fieldAt("a b", int64Max, " "), "");
}

TEST(Strings, parseIntegerReadsSignBaseAndDigitsAndWrapsPast64Bits) {
  EXPECT_EQ(parseInteger("\t \t-12ab"), -12);
  EXPECT_EQ(parseInteger("- 7"), 0);
  EXPECT_EQ(parseInteger("--5"), 0);
  EXPECT_EQ(parseInteger("1_000"), 1);
  EXPECT_EQ(parseInteger("-$1aF"), -431);
  EXPECT_EQ(parseInteger("$fg"), 15);
  EXPECT_EQ(parseInteger("$-1"), 0);
  EXPECT_EQ(parseInteger("-%1012"), -5);
  EXPECT_EQ(parseInteger("99999999999999999999"), 7766279631452241919);
  EXPECT_EQ(parseInteger("-99999999999999999999"), -7766279631452241919);
  EXPECT_EQ(parseInteger("9223372036854775808"), int64Min);
  EXPECT_EQ(parseInteger("18446744073709551616"), 0);
  EXPECT_EQ(parseInteger("$10000000000000001"), 1);
  EXPECT_EQ(parseInteger("%" + std::string(65, '1')), -1);
}

TEST(Strings, workingDirectoryIsThePhysicalFolderWithASlash) {
  const std::filesystem::path before = std::filesystem::current_path();
  const test::ScratchDir dir;
  std::filesystem::create_directory(dir.path() / "real");
  std::filesystem::create_directory_symlink(dir.path() / "real", dir.path() / "link");
  ASSERT_EQ(::chdir((dir.path() / "link").c_str()), 0);
  const std::string throughLink = workingDirectory();
  ASSERT_EQ(::chdir("/"), 0);
  const std::string root = workingDirectory();
  std::filesystem::current_path(before);
  EXPECT_EQ(throughLink, dir.asWorkingDirectory() + "real/");
  EXPECT_EQ(root, "/");
}

}  // namespace
}  // namespace gapmerge
