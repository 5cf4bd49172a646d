#include "render/result_text.hpp"

#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "render/merged_file_text.hpp"
#include "render/messages.hpp"
#include "text/number_format.hpp"

namespace gapmerge {

namespace {

// Appends text with CR LF and a lone CR as LF: names may hold a CR, which the
// view would show as a glyph.
void appendWithLf(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out.push_back(text[i]);
    } else if (i + 1 == text.size() || text[i + 1] != '\n') {
      out.push_back('\n');
    }
  }
}

std::string gapsText(std::int64_t count) {
  return formatGroupedInteger(count) + (count == 1 ? " gap" : " gaps");
}

}  // namespace

std::string resultText(const RunOutcome& outcome) {
  std::string out = closingSummary(outcome.finalBlock, "\n");
  out.push_back('\n');
  appendWithLf(
      out, "FileName : " + outcome.lastReportName + "\r\nOutputDirectory : " + outcome.directory);
  out.push_back('\n');
  appendWithLf(out, warningsText(outcome.warnings, "\r\n"));
  return out;
}

std::string chartTitle(const RunOutcome& outcome) {
  const std::string title = "Gaps between consecutive primes";
  const auto range = nameRange(outcome);
  if (!range) {
    return title + ": no reports found";
  }
  return title + ", " + formatGroupedInteger(range->from) + " to " +
         formatGroupedInteger(range->to) + ": " + gapsText(outcome.finalBlock.divisor);
}

std::string classSeriesName(const RunOutcome& outcome, int k) {
  return "gap \u2261 " + std::to_string(k) +
         " (mod 3): " + gapsText(outcome.finalBlock.classTotals[static_cast<std::size_t>(k)]);
}

std::string gapPointText(const RunOutcome& outcome, std::int64_t gap) {
  const std::int64_t count = outcome.histogram[static_cast<std::size_t>(gap)];
  const std::int64_t total = outcome.finalBlock.divisor;
  const double share = total == 0 ? 0.0 : static_cast<double>(count) / static_cast<double>(total);
  std::array<char, 32> percent{};
  static_cast<void>(std::snprintf(percent.data(), percent.size(), "%.4f", share * 100));
  std::string text =
      "gap " + std::to_string(gap) + ": " + gapsText(count) + ", share " + percent.data() + " %";
  const double expected = outcome.expected[static_cast<std::size_t>(gap)];
  if (expected > 0.0) {
    std::array<char, 64> model{};
    static_cast<void>(std::snprintf(model.data(), model.size(), ", expected %.1f, ratio %.4f",
                                    expected, static_cast<double>(count) / expected));
    text += model.data();
  }
  return text;
}

}  // namespace gapmerge
