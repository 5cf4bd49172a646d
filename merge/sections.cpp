#include "merge/sections.hpp"

#include <string_view>

#include "text/number_format.hpp"
#include "text/wrap.hpp"

namespace gapmerge {

namespace {

constexpr std::string_view crlf = "\r\n";
constexpr int fractionDecimals = 15;

double quotient(std::int64_t count, std::int64_t divisor) {
  return static_cast<double>(count) / static_cast<double>(divisor);
}

void appendGroupedBound(std::string& out, std::int64_t bound) {
  appendGrouped(out, static_cast<double>(bound), 0, ",", ".");
}

void openItem(std::string& out, std::int64_t gap) {
  out.push_back('[');
  appendInteger(out, gap);
  out.append(", ");
}

void appendCountItem(std::string& out, std::int64_t gap, std::int64_t count) {
  openItem(out, gap);
  appendInteger(out, count);
  out.append("], ");
}

void appendFractionItem(std::string& out, std::int64_t gap, double fraction) {
  openItem(out, gap);
  appendFixed(out, fraction, fractionDecimals);
  out.append("], ");
}

void appendGapCounts(std::string& out, const StatsBlock& block) {
  for (const auto& [gap, count] : block.counts) {
    appendCountItem(out, gap, count);
  }
}

void appendNormalizedCounts(std::string& out, const StatsBlock& block) {
  for (const auto& [gap, count] : block.counts) {
    appendFractionItem(out, gap, quotient(count, block.divisor));
  }
}

void appendCumulativeCounts(std::string& out, const StatsBlock& block) {
  std::int64_t sum = 0;
  for (const auto& [gap, count] : block.counts) {
    sum = addWrap(sum, count);
    appendCountItem(out, gap, sum);
  }
}

void appendCumulativeNormalizedCounts(std::string& out, const StatsBlock& block) {
  std::int64_t sum = 0;
  for (const auto& [gap, count] : block.counts) {
    sum = addWrap(sum, count);
    appendFractionItem(out, gap, quotient(sum, block.divisor));
  }
}

// "k Mod 3 [" + the items of residue class k + "]"; the normalized form
// divides each count by the class total.
void appendClassLine(std::string& out, const StatsBlock& block, std::int64_t k, bool normalized) {
  appendInteger(out, k);
  out.append(" Mod 3 [");
  const std::int64_t classTotal = block.classTotals[static_cast<std::size_t>(k)];
  for (const auto& [gap, count] : block.counts) {
    if (gap % 3 != k) {
      continue;
    }
    if (normalized) {
      appendFractionItem(out, gap, quotient(count, classTotal));
    } else {
      appendCountItem(out, gap, count);
    }
  }
  out.push_back(']');
}

void appendClassTotals(std::string& out, const StatsBlock& block) {
  const auto& k = block.classTotals;
  out.append("0 : ");
  appendInteger(out, k[0]);
  out.append("\t1 : ");
  appendInteger(out, k[1]);
  out.append("\t2 : ");
  appendInteger(out, k[2]);
  out.append("\tTotal : ");
  appendInteger(out, addWrap(addWrap(k[0], k[1]), k[2]));
}

// "Mid gaps : <title> (H) " with H the grouped upper bound.
void appendHeading(std::string& out, std::string_view title, std::int64_t fileNmax) {
  out.append("Mid gaps : ").append(title).append(" (");
  appendGroupedBound(out, fileNmax);
  out.append(") ");
}

}  // namespace

void appendReportSections(std::string& out, std::int64_t fileNmax, const StatsBlock& block) {
  appendHeading(out, "Gaps", fileNmax);
  out.append("[gap, qty]\r\n");
  appendGapCounts(out, block);
  out.append("\r\nTotal ");
  appendInteger(out, block.divisor);
  out.append(" gaps\r\n\r\n");

  appendHeading(out, "normalized gaps", fileNmax);
  out.append("[gap, %]\r\n");
  appendNormalizedCounts(out, block);
  out.append("\r\n\r\n");

  appendHeading(out, "cumulative gaps", fileNmax);
  out.append("[gap, qty]\r\n");
  appendCumulativeCounts(out, block);
  out.append("\r\n\r\n");

  appendHeading(out, "cumulative normalized gaps", fileNmax);
  out.append("[gap, %]\r\n");
  appendCumulativeNormalizedCounts(out, block);
  out.append("\r\n\r\n");

  for (std::int64_t k = 0; k < 3; ++k) {
    appendHeading(out, "modulo results", fileNmax);
    appendClassLine(out, block, k, false);
    out.append("\r\n\r\n");
  }
  appendClassTotals(out, block);
  out.append("\r\n\r\n");
  for (std::int64_t k = 0; k < 3; ++k) {
    appendClassLine(out, block, k, true);
    out.append(crlf);
  }
  out.append("\r\n").append(63, '-');
}

std::string rangeLine(std::int64_t lowestNmin, std::int64_t highestNmax) {
  std::string line;
  appendGroupedBound(line, lowestNmin);
  line.append(" - ");
  appendGroupedBound(line, highestNmax);
  return line;
}

std::string closingSummary(const StatsBlock& finalBlock) {
  std::string out = "\r\nGaps [gap, qty]\r\n\r\n";
  appendGapCounts(out, finalBlock);
  out.append("\r\n\r\nNormalized gaps [gap, %]\r\n\r\n");
  appendNormalizedCounts(out, finalBlock);
  out.append("\r\n\r\n");
  for (std::int64_t k = 0; k < 3; ++k) {
    appendClassLine(out, finalBlock, k, false);
    out.append("\r\n\r\n");
  }
  out.append("Cumulative gaps\r\n\r\n");
  appendCumulativeCounts(out, finalBlock);
  out.append("\r\n\r\nNormalized cumulative gaps\r\n\r\n");
  appendCumulativeNormalizedCounts(out, finalBlock);
  out.append("\r\n\r\n\r\n\r\n");
  appendClassTotals(out, finalBlock);
  out.append("\r\n\r\n");
  for (std::int64_t k = 0; k < 3; ++k) {
    appendClassLine(out, finalBlock, k, true);
    out.append("\r\n\r\n");
  }
  out.append("\r\n\r\nnGaps : ");
  appendInteger(out, finalBlock.divisor);
  return out;
}

}  // namespace gapmerge
