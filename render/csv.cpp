#include "render/csv.hpp"

#include "render/merged_file_text.hpp"
#include "text/number_format.hpp"
#include "text/wrap.hpp"

namespace gapmerge {

namespace {

void appendRow(std::string& out, const GapCount& entry, std::int64_t cumulative,
               std::int64_t divisor) {
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
  out.push_back('\n');
}

}  // namespace

std::string csvText(const RunOutcome& outcome) {
  const StatsBlock& block = outcome.finalBlock;
  std::string out = "gap,count,share,cumulative,cumulative_share,class\n";
  std::int64_t cumulative = 0;
  for (const auto& entry : block.counts) {
    cumulative = addWrap(cumulative, entry.count);
    appendRow(out, entry, cumulative, block.divisor);
  }
  return out;
}

}  // namespace gapmerge
