#include "tests/real_data/merge_output.hpp"

#include <regex>
#include <sstream>

namespace gapmerge::test {

namespace {

std::vector<std::string> splitLines(const std::string& text, std::string_view end) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at = text.find(end); at != std::string::npos; at = text.find(end, start)) {
    lines.push_back(text.substr(start, at - start));
    start = at + end.size();
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::int64_t valueAfter(const std::string& line, std::string_view key) {
  if (!line.starts_with(key)) {
    return -1;
  }
  return std::stoll(line.substr(key.size()));
}

}  // namespace

GapHistogram parseGapList(std::string_view items) {
  GapHistogram gaps;
  std::istringstream in{std::string(items)};
  char open = 0;
  char comma = 0;
  char close = 0;
  char separator = 0;
  std::int64_t gap = 0;
  std::int64_t quantity = 0;
  while (in >> open >> gap >> comma >> quantity >> close >> separator) {
    if (open != '[' || comma != ',' || close != ']' || separator != ',') {
      return {};
    }
    gaps[gap] += quantity;
  }
  return gaps;
}

ClosingTotals readClosingTotals(const std::string& mergedFile) {
  ClosingTotals totals;
  const std::vector<std::string> lines = splitLines(mergedFile, "\r\n");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == "Gaps [gap, qty]" && i + 2 < lines.size()) {
      totals.gaps = parseGapList(lines[i + 2]);
    }
    if (lines[i].starts_with("nGaps = ")) {
      totals.runningTotal = valueAfter(lines[i], "nGaps = ");
    }
  }
  // The file ends with the CR LF of "nGaps : N", so the last piece is empty.
  if (lines.size() >= 2 && lines.back().empty()) {
    totals.histogramTotal = valueAfter(lines[lines.size() - 2], "nGaps : ");
  }
  return totals;
}

BatchText splitBatchText(const std::string& out) {
  BatchText text;
  const std::vector<std::string> lines = splitLines(out, "\n");
  std::size_t i = 0;
  for (; i < lines.size() && !lines[i].starts_with("FileName : "); ++i) {
    text.summary.append(lines[i]).push_back('\n');
  }
  if (i + 1 >= lines.size()) {
    return text;
  }
  text.fileName = lines[i].substr(std::string_view("FileName : ").size());
  if (lines[i + 1].starts_with("OutputDirectory : ")) {
    text.outputDirectory = lines[i + 1].substr(std::string_view("OutputDirectory : ").size());
  }
  for (i += 2; i < lines.size(); ++i) {
    if (!lines[i].empty()) {
      text.warningLines.push_back(lines[i]);
    }
  }
  return text;
}

bool isEstimateWarning(const std::string& line) {
  static const std::regex pattern(
      R"(^(Tramvelok [^\t]* : )?warning : [0-9]+\.[0-9]{12}\tTramvelok [^\t]*\.txt$)");
  return std::regex_match(line, pattern);
}

}  // namespace gapmerge::test
