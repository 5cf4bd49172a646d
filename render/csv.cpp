#include "render/csv.hpp"

#include "render/merged_file_text.hpp"
#include "text/number_format.hpp"
#include "text/wrap.hpp"

namespace gapmerge {

namespace {

constexpr int expectedDecimals = 3;
constexpr int ratioDecimals = 6;

void appendRow(std::string& out, const GapCount& entry, std::int64_t cumulative,
               std::int64_t divisor, double expected) {
  appendInteger(out, entry.gap);
  out.push_back(',');
  appendInteger(out, entry.count);
  out.push_back(',');
  out.append(fractionText(entry.count, divisor));
  out.push_back(',');
  appendInteger(out, cumulative);
  out.push_back(',');
  out.append(fractionText(cumulative, divisor));
  out.push_back(',');
  appendInteger(out, entry.gap % 3);
  out.push_back(',');
  appendFixed(out, expected, expectedDecimals);
  out.push_back(',');
  if (expected > 0) {
    appendFixed(out, static_cast<double>(entry.count) / expected, ratioDecimals);
  }
  out.push_back('\n');
}

}  // namespace

std::string csvText(const RunOutcome& outcome) {
  const StatsBlock& block = outcome.finalBlock;
  std::string out = "gap,count,share,cumulative,cumulative_share,class,expected,ratio\n";
  std::int64_t cumulative = 0;
  for (const auto& entry : block.counts) {
    cumulative = addWrap(cumulative, entry.count);
    appendRow(out, entry, cumulative, block.divisor,
              outcome.expected[static_cast<std::size_t>(entry.gap)]);
  }
  return out;
}

}  // namespace gapmerge
