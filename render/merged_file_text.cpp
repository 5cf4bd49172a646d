#include "render/merged_file_text.hpp"

#include <string_view>

#include "text/number_format.hpp"
#include "text/text_appender.hpp"
#include "text/wrap.hpp"

namespace gapmerge {

namespace {

constexpr int fractionDecimals = 15;

double quotient(std::int64_t count, std::int64_t divisor) {
  return static_cast<double>(count) / static_cast<double>(divisor);
}

void appendGroupedBound(std::string& out, std::int64_t bound) {
  appendGrouped(out, static_cast<double>(bound));
}

void writeCountItem(TextAppender& out, std::int64_t gap, std::int64_t count) {
  out.character('[');
  out.integer(gap);
  out.text(", ");
  out.integer(count);
  out.text("], ");
}

void writeFractionItem(TextAppender& out, std::int64_t gap, double fraction) {
  out.character('[');
  out.integer(gap);
  out.text(", ");
  out.fixed(fraction, fractionDecimals);
  out.text("], ");
}

void writeGapCounts(TextAppender& out, const StatsBlock& block) {
  for (const auto& [gap, count] : block.counts) {
    writeCountItem(out, gap, count);
  }
}

void writeNormalizedCounts(TextAppender& out, const StatsBlock& block) {
  for (const auto& [gap, count] : block.counts) {
    writeFractionItem(out, gap, quotient(count, block.divisor));
  }
}

void writeCumulativeCounts(TextAppender& out, const StatsBlock& block) {
  std::int64_t sum = 0;
  for (const auto& [gap, count] : block.counts) {
    sum = addWrap(sum, count);
    writeCountItem(out, gap, sum);
  }
}

void writeCumulativeNormalizedCounts(TextAppender& out, const StatsBlock& block) {
  std::int64_t sum = 0;
  for (const auto& [gap, count] : block.counts) {
    sum = addWrap(sum, count);
    writeFractionItem(out, gap, quotient(sum, block.divisor));
  }
}

// "k Mod 3 [" + the items of residue class k + "]"; the normalized form
// divides each count by the class total.
void writeClassLine(TextAppender& out, const StatsBlock& block, std::int64_t k, bool normalized) {
  out.integer(k);
  out.text(" Mod 3 [");
  const std::int64_t classTotal = block.classTotals[static_cast<std::size_t>(k)];
  for (const auto& [gap, count] : block.counts) {
    if (gap % 3 != k) {
      continue;
    }
    if (normalized) {
      writeFractionItem(out, gap, quotient(count, classTotal));
    } else {
      writeCountItem(out, gap, count);
    }
  }
  out.character(']');
}

void writeClassTotals(TextAppender& out, const StatsBlock& block) {
  const auto& k = block.classTotals;
  out.text("0 : ");
  out.integer(k[0]);
  out.text("\t1 : ");
  out.integer(k[1]);
  out.text("\t2 : ");
  out.integer(k[2]);
  out.text("\tTotal : ");
  out.integer(addWrap(addWrap(k[0], k[1]), k[2]));
}

// "Mid gaps : <title> (H) " with H the grouped upper bound.
std::string heading(std::string_view title, std::int64_t fileNmax) {
  std::string text = "Mid gaps : ";
  text.append(title).append(" (");
  appendGroupedBound(text, fileNmax);
  text.append(") ");
  return text;
}

// The range line that opens the closing sections: "lowest - highest".
std::string rangeLine(std::int64_t lowestNmin, std::int64_t highestNmax) {
  std::string line;
  appendGroupedBound(line, lowestNmin);
  line.append(" - ");
  appendGroupedBound(line, highestNmax);
  return line;
}

}  // namespace

void appendReportSections(std::string& text, std::int64_t fileNmax, const StatsBlock& block) {
  TextAppender out(text);
  out.text(heading("Gaps", fileNmax));
  out.text("[gap, qty]\r\n");
  writeGapCounts(out, block);
  out.text("\r\nTotal ");
  out.integer(block.divisor);
  out.text(" gaps\r\n\r\n");

  out.text(heading("normalized gaps", fileNmax));
  out.text("[gap, %]\r\n");
  writeNormalizedCounts(out, block);
  out.text("\r\n\r\n");

  out.text(heading("cumulative gaps", fileNmax));
  out.text("[gap, qty]\r\n");
  writeCumulativeCounts(out, block);
  out.text("\r\n\r\n");

  out.text(heading("cumulative normalized gaps", fileNmax));
  out.text("[gap, %]\r\n");
  writeCumulativeNormalizedCounts(out, block);
  out.text("\r\n\r\n");

  const std::string modulo = heading("modulo results", fileNmax);
  for (std::int64_t k = 0; k < 3; ++k) {
    out.text(modulo);
    writeClassLine(out, block, k, false);
    out.text("\r\n\r\n");
  }
  writeClassTotals(out, block);
  out.text("\r\n\r\n");
  for (std::int64_t k = 0; k < 3; ++k) {
    writeClassLine(out, block, k, true);
    out.text("\r\n");
  }
  out.text("\r\n");
  out.text(std::string_view("---------------------------------------------------------------\r\n"));
}

std::string closingSections(std::int64_t lowestNmin, std::int64_t highestNmax,
                            std::int64_t runningTotal, const StatsBlock& finalBlock) {
  std::string text = rangeLine(lowestNmin, highestNmax);
  text.append("\r\n\r\nnGaps = ").append(formatInteger(runningTotal)).append("\r\n\r\n");
  text.append(closingSummary(finalBlock, "\r\n")).append("\r\n");
  return text;
}

std::string closingSummary(const StatsBlock& finalBlock, std::string_view lineEnd) {
  std::string text;
  {
    TextAppender out(text);
    const auto endLines = [&out, lineEnd](int count) {
      for (int k = 0; k < count; ++k) {
        out.text(lineEnd);
      }
    };
    endLines(1);
    out.text("Gaps [gap, qty]");
    endLines(2);
    writeGapCounts(out, finalBlock);
    endLines(2);
    out.text("Normalized gaps [gap, %]");
    endLines(2);
    writeNormalizedCounts(out, finalBlock);
    endLines(2);
    for (std::int64_t k = 0; k < 3; ++k) {
      writeClassLine(out, finalBlock, k, false);
      endLines(2);
    }
    out.text("Cumulative gaps");
    endLines(2);
    writeCumulativeCounts(out, finalBlock);
    endLines(2);
    out.text("Normalized cumulative gaps");
    endLines(2);
    writeCumulativeNormalizedCounts(out, finalBlock);
    endLines(4);
    writeClassTotals(out, finalBlock);
    endLines(2);
    for (std::int64_t k = 0; k < 3; ++k) {
      writeClassLine(out, finalBlock, k, true);
      endLines(2);
    }
    endLines(2);
    out.text("nGaps : ");
    out.integer(finalBlock.divisor);
  }
  return text;
}

std::string fractionText(std::int64_t count, std::int64_t divisor) {
  return formatFixed(quotient(count, divisor), fractionDecimals);
}

}  // namespace gapmerge
