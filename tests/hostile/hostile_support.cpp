#include "tests/hostile/hostile_support.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace gapmerge::test {

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

std::size_t countOf(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

std::string couldNotOpen(std::string_view name) {
  return std::string(name) + " : Report could not be opened, nothing merged from " +
         std::string(name) + "\n\n";
}

void writeNeighbours(const ScratchDir& dir) {
  dir.write(firstName, firstReport);
  dir.write(lastName, lastReport);
}

void expectHoleSkipped(const ScratchDir& dir, const ProgramResult& result) {
  const std::string merged = readFile(dir.path() / "fileout.txt");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_TRUE(contains(result.out, couldNotOpen(holeName))) << result.out;
  // The hole's sections repeat the first report's statistics.
  EXPECT_TRUE(
      contains(merged, "Mid gaps : Gaps (20) [gap, qty]\r\n[1, 1], [2, 2], \r\nTotal 3 gaps"));
  EXPECT_EQ(countOf(merged, "Mid gaps : Gaps ("), 3U);
  EXPECT_TRUE(contains(merged, "1 - 30\r\n\r\nnGaps = 4\r\n"));
  EXPECT_TRUE(contains(merged, "\r\nGaps [gap, qty]\r\n\r\n[1, 1], [2, 2], [6, 1], \r\n"));
  EXPECT_TRUE(merged.ends_with("nGaps : 4\r\n"));
}

void writeRepeated(const std::filesystem::path& file, std::string_view head, std::string_view piece,
                   std::size_t times, std::string_view tail) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(head.data(), static_cast<std::streamsize>(head.size()));
  // Pieces are written in blocks of about a megabyte.
  const std::size_t perBlock =
      piece.empty() ? 1 : std::max<std::size_t>(1, (1U << 20U) / piece.size());
  std::string block;
  for (std::size_t i = 0; i < perBlock; ++i) {
    block.append(piece);
  }
  for (std::size_t done = 0; done < times; done += perBlock) {
    const std::size_t now = std::min(perBlock, times - done);
    out.write(block.data(), static_cast<std::streamsize>(now * piece.size()));
  }
  out.write(tail.data(), static_cast<std::streamsize>(tail.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << file;
}

bool sanitizedBuild() {
  return GAPMERGE_SANITIZED != 0;
}

}  // namespace gapmerge::test
