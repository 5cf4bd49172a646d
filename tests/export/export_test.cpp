// The CSV and JSON exports of whole runs: the published prime counts, the
// same numbers as fileout.txt, exact 64-bit integers, names that are not
// UTF-8, standard output, and exports that cannot be written.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/output.hpp"
#include "tests/support/program.hpp"
#include "tests/support/scratch_dir.hpp"

namespace gapmerge::test {
namespace {

using Json = nlohmann::json;

std::vector<std::vector<std::string>> csvRows(const std::string& csv) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(csv);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    rows.emplace_back();
    for (std::string field; std::getline(fields, field, ',');) {
      rows.back().push_back(field);
    }
  }
  return rows;
}

// Primes below 10^8: 5,761,455, so 5,761,454 gaps; 440,312 twin prime pairs.
TEST(Exports, examplesHoldThePublishedCountsAndTheNumbersOfTheMergedFile) {
  const ScratchDir dir;
  dir.copyExamples();
  const auto plain = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  const auto result =
      runGapmerge({"--batch", "--csv", "g.csv", "--json", "g.json"}, dir.path().string());
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, plain.out);
  EXPECT_EQ(readFile(dir.path() / "fileout.txt"), merged);

  const auto rows = csvRows(readFile(dir.path() / "g.csv"));
  ASSERT_EQ(rows.front(), (std::vector<std::string>{"gap", "count", "share", "cumulative",
                                                    "cumulative_share", "class"}));
  std::vector<std::string> lists(4);
  for (std::size_t row = 1; row < rows.size(); ++row) {
    ASSERT_EQ(rows[row].size(), 6U);
    for (std::size_t column = 1; column <= 4; ++column) {
      lists[column - 1] += "[" + rows[row][0] + ", " + rows[row][column] + "], ";
    }
    EXPECT_EQ(std::stoi(rows[row][5]), std::stoi(rows[row][0]) % 3);
  }
  EXPECT_EQ(rows[2][0] + "," + rows[2][1], "2,440312");
  EXPECT_EQ(rows.back()[3], "5761454");
  EXPECT_EQ(lists[0], lineAfter(merged, "\r\nGaps [gap, qty]\r\n\r\n"));
  EXPECT_EQ(lists[1], lineAfter(merged, "\r\nNormalized gaps [gap, %]\r\n\r\n"));
  EXPECT_EQ(lists[2], lineAfter(merged, "\r\nCumulative gaps\r\n\r\n"));
  EXPECT_EQ(lists[3], lineAfter(merged, "\r\nNormalized cumulative gaps\r\n\r\n"));

  const Json json = Json::parse(readFile(dir.path() / "g.json"));
  EXPECT_EQ(json["gaps"], 5761454);
  EXPECT_EQ(json["reports"], 10);
  EXPECT_EQ(json["order"], "path");
  EXPECT_EQ(json["range"], Json::parse(R"({"from": 1, "to": 100000000})"));
  EXPECT_EQ(json["directory"], dir.asWorkingDirectory());
  EXPECT_EQ(json["merged_file"]["path"], dir.asWorkingDirectory() + "fileout.txt");
  EXPECT_EQ(json["merged_file"]["complete"], true);
  EXPECT_EQ(json["residues"][0].get<std::int64_t>() + json["residues"][1].get<std::int64_t>() +
                json["residues"][2].get<std::int64_t>(),
            5761454);
  EXPECT_FALSE(json["warnings"].empty());
  for (const auto& entry : json["warnings"]) {
    std::string text = entry["subject"].get<std::string>() + " : ";
    for (const auto& message : entry["messages"]) {
      text += message.get<std::string>() + "\n";
    }
    EXPECT_NE(plain.out.find(text + "\n"), std::string::npos) << text;
  }
  std::string counts;
  for (const auto& pair : json["histogram"]) {
    counts += "[" + pair[0].dump() + ", " + pair[1].dump() + "], ";
  }
  EXPECT_EQ(counts, lists[0]);
}

TEST(Exports, jsonOnStandardOutputKeepsBoundsNear2To63AndNamesThatAreNotUtf8) {
  const ScratchDir dir;
  dir.write("Tramvelok 9.223.372.036.854.775.000 to 9.223.372.036.854.775.807 x.txt",
            "Gaps [gap, qty]\n[2, 3], \n");
  dir.write("Tramvelok 1 to 10 \xff\xfe.txt", "Gaps [gap, qty]\n[1, 1], [2, 2], \n");
  const auto result = runGapmerge({"--batch", "--json", "-"}, dir.path().string());
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const Json json = Json::parse(result.out);
  EXPECT_EQ(json["range"]["from"].get<std::int64_t>(), 1);
  EXPECT_EQ(json["range"]["to"].get<std::int64_t>(), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(json["histogram"], Json::parse("[[1, 1], [2, 5]]"));
  EXPECT_EQ(json["warnings"][0]["subject"], "Tramvelok 1 to 10 \xEF\xBF\xBD\xEF\xBF\xBD.txt");
}

TEST(Exports, anExportThatCannotBeWrittenLeavesNoFileAndExitsOne) {
  const ScratchDir dir;
  dir.write("Tramvelok 1 to 10 x.txt", "Gaps [gap, qty]\n[1, 1], [2, 2], \n");
  dir.write("taken/file", "");
  const auto plain = runGapmerge({"--batch"}, dir.path().string());
  const std::string merged = readFile(dir.path() / "fileout.txt");
  const auto result =
      runGapmerge({"--batch", "--csv", "taken", "--json", "missing/g.json"}, dir.path().string());
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, plain.out);
  EXPECT_NE(result.err.find("gapmerge: cannot write taken: Is a directory\n"), std::string::npos);
  EXPECT_NE(result.err.find("gapmerge: cannot write missing/g.json: No such file or directory\n"),
            std::string::npos);
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"Tramvelok 1 to 10 x.txt", "fileout.txt", "taken"}));
  EXPECT_EQ(readFile(dir.path() / "fileout.txt"), merged);
}

}  // namespace
}  // namespace gapmerge::test
