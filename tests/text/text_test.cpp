// The text toolkit: string operations, number formats and reading lines.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/scratch_dir.hpp"
#include "text/fixed15.hpp"
#include "text/number_format.hpp"
#include "text/strings.hpp"
#include "text/text_file.hpp"

namespace gapmerge::test {
namespace {

constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();

TEST(Strings, replaceTrimAndFilePart) {
  EXPECT_EQ(replaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(replaceAll("ab", "a", "aa"), "aab");
  EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(trimSpaces(" \ta\t "), "\ta\t");
  EXPECT_EQ(filePart("/w//Tramvelok 1"), "Tramvelok 1");
  EXPECT_EQ(filePart("a/b\\c"), "b\\c");
  EXPECT_EQ(escapeControls("a\nb\r\t\\\x01\x7F \xC3\xA9"), "a\\nb\\r\\t\\\\\\x01\\x7F \xC3\xA9");
  // C1 controls: lone bytes and U+0080..U+009F; a continuation byte inside a
  // well-formed sequence (U+201B, U+00A0) stays; truncated, surrogate and
  // overlong forms are not well-formed.
  EXPECT_EQ(
      escapeControls("\x9B[31m \xC2\x9B \xC2\xA0 \xE2\x80\x9B \xE2\x80 \xED\xA0\x80 \xC0\x80"),
      "\\x9B[31m \\xC2\\x9B \xC2\xA0 \xE2\x80\x9B \xE2\\x80 \xED\xA0\\x80 \xC0\\x80");
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

// The exact decimal value rounded to nearest (zero unsigned): the reference for formatFixed.
std::string reference(double value, int decimals) {
  std::array<char, 512> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                 value == 0.0 ? 0.0 : value, std::chars_format::fixed, decimals);
  return {buffer.data(), end.ptr};
}

// Random quotients go through the integer path for 15 decimals; powers of two
// times small odd numbers give every tie, sub-normal and the path's limits.
TEST(NumberFormat, formatFixedAgreesWithToChars) {
  std::mt19937_64 random(20261206);
  for (int i = 0; i < 1'000'000; ++i) {
    const std::uint64_t divisor = (random() >> (random() % 64)) | 1U;
    const double value = static_cast<double>(random() % divisor) / static_cast<double>(divisor);
    const int decimals = i % 8 == 0 ? 12 : 15;
    ASSERT_EQ(formatFixed(value, decimals), reference(value, decimals)) << std::hexfloat << value;
  }
  for (int exponent = -1074; exponent < 70; ++exponent) {
    for (const double odd : {1.0, 3.0, 5.0, 1023.0, -3.0}) {
      const double value = std::ldexp(odd, exponent);
      for (const int decimals : {0, 2, 12, 15}) {
        ASSERT_EQ(formatFixed(value, decimals), reference(value, decimals)) << value;
      }
    }
  }
  for (const double value : {-0.0, 0.9999999999999996, 0.9999999999999994, 999.9999999999999,
                             std::nextafter(fixed15Limit, 0.0), fixed15Limit, 1e300}) {
    EXPECT_EQ(formatFixed(value, 15), reference(value, 15)) << value;
  }
}

TEST(NumberFormat, specialValuesIntegersAndGroupedNumbers) {
  constexpr double infinity = std::numeric_limits<double>::infinity();
  for (const int decimals : {0, 15}) {
    EXPECT_EQ(formatFixed(infinity, decimals), "+Infinity");
    EXPECT_EQ(formatFixed(-std::nan(""), decimals), "NaN");
  }
  EXPECT_EQ(formatFixed(-0.0, 3), "0.000");
  for (std::int64_t power = 1; power != 0; power = power > int64Max / 10 ? 0 : power * 10) {
    for (const std::int64_t value : {power - 1, power, -power}) {
      EXPECT_EQ(formatInteger(value), std::to_string(value));
    }
  }
  const auto grouped = [](double value) {
    std::string out;
    appendGrouped(out, value);
    return out;
  };
  EXPECT_EQ(grouped(999.0), "999");
  EXPECT_EQ(grouped(1000.0), "1.000");
  EXPECT_EQ(grouped(-123456.0), "-123.456");
  EXPECT_EQ(grouped(-1234.0), "-1.234");
  EXPECT_EQ(grouped(999.7), "1.000");
  EXPECT_EQ(grouped(-0.0), "0");
  EXPECT_EQ(grouped(-9223372036854775808.0), "-9.223.372.036.854.775.808");
  EXPECT_EQ(grouped(-std::numeric_limits<double>::infinity()), "-Infinity");
  EXPECT_EQ(grouped(std::nan("")), "NaN");
  EXPECT_EQ(formatGroupedInteger(std::numeric_limits<std::int64_t>::min()),
            "-9.223.372.036.854.775.808");
  EXPECT_EQ(formatGroupedInteger(int64Max), "9.223.372.036.854.775.807");
}

using Lines = std::vector<std::string>;

// Every line of the file at path, read until atEnd; readLine then gives "".
Lines readAllLines(const std::filesystem::path& path) {
  TextFile file = openTextFile(path.string());
  EXPECT_TRUE(file.isOpen()) << path;
  Lines lines;
  std::string line;
  while (!atEnd(file)) {
    readLine(file, line);
    lines.push_back(line);
  }
  readLine(file, line);
  EXPECT_EQ(line, "") << path;
  closeTextFile(file);
  return lines;
}

TEST(TextFile, readLineAcceptsEveryLineEndAlsoAtTheBufferBoundary) {
  const ScratchDir dir;
  const std::string head(textFileBufferSize - 1, 'a');
  const std::string longer(textFileBufferSize + 1, 'c');
  const std::pair<std::string, Lines> cases[] = {{"A\rB\nC", {"A", "B", "C"}},
                                                 {"A\r\n\r\n", {"A", ""}},
                                                 {"A\n\rB", {"A", "", "B"}},
                                                 {"A\r\r\nB", {"A", "", "B"}},
                                                 {"", {}},
                                                 {std::string("ab\0\ncd", 6), {"ab", "", "cd"}},
                                                 {"\xE9t\t \r\n", {"\xE9t\t "}},
                                                 {head + "\r\nb", {head, "b"}},
                                                 {head + "\r\rz", {head, "", "z"}},
                                                 {head + "\r", {head}},
                                                 {"x\n" + longer + "\r\ny", {"x", longer, "y"}}};
  for (const auto& [bytes, lines] : cases) {
    EXPECT_EQ(readAllLines(dir.write("report", bytes)), lines) << bytes.size();
  }
}

}  // namespace
}  // namespace gapmerge::test
