#include "app/result_text.hpp"

#include <string_view>

#include "merge/sections.hpp"

namespace gapmerge {

namespace {

// CR LF and a lone CR become LF.
void appendWithLf(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out.push_back(text[i]);
    } else if (i + 1 == text.size() || text[i + 1] != '\n') {
      out.push_back('\n');
    }
  }
}

// Each entry is the subject, " : ", its lines ended by LF, and CR LF.
std::string warningsText(const RunOutcome& outcome) {
  std::string text;
  for (const auto& [subject, messages] : outcome.warnings) {
    text.append(subject).append(" : ");
    for (const auto& message : messages) {
      text.append(message).push_back('\n');
    }
    text.append("\r\n");
  }
  return text;
}

}  // namespace

std::string resultText(const RunOutcome& outcome) {
  StatsBlock block;
  finalSeries(outcome.histogram, block);
  std::string out;
  appendWithLf(out, closingSummary(block));
  out.push_back('\n');
  appendWithLf(
      out, "FileName : " + outcome.lastReportName + "\r\nOutputDirectory : " + outcome.directory);
  out.push_back('\n');
  appendWithLf(out, warningsText(outcome));
  return out;
}

}  // namespace gapmerge
