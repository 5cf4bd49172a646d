#include "text/text_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.hpp"

namespace gapmerge {
namespace {

using Lines = std::vector<std::string>;
using test::ScratchDir;

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
}  // namespace gapmerge
