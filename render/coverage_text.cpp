#include "render/coverage_text.hpp"

#include <string_view>

#include "text/number_format.hpp"
#include "text/strings.hpp"

namespace gapmerge {

namespace {

void appendRange(std::string& out, const BoundRange& range) {
  appendGroupedInteger(out, range.from);
  out.append(" to ");
  appendGroupedInteger(out, range.to);
}

void appendCovered(std::string& out, const CoveredInterval& interval) {
  out.append("covered: ");
  appendRange(out, interval.range);
  out.append(" (").append(formatInteger(static_cast<std::int64_t>(interval.reports)));
  out.append(interval.reports == 1 ? " report)\n" : " reports)\n");
}

void appendRanges(std::string& out, std::string_view label, const std::vector<BoundRange>& ranges) {
  for (const auto& range : ranges) {
    out.append(label);
    appendRange(out, range);
    out.push_back('\n');
  }
}

void appendNames(std::string& out, const std::vector<std::string>& names) {
  for (std::size_t k = 0; k < names.size(); ++k) {
    out.append(k == 0 ? "" : ", ").append(escapeControls(names[k]));
  }
}

}  // namespace

std::string coverageText(const Coverage& coverage, const std::vector<UnlistedFolder>& unlisted) {
  std::string out;
  if (coverage.covered.empty() && coverage.unreadable.empty()) {
    out = "no report found\n";
  }
  for (const auto& interval : coverage.covered) {
    appendCovered(out, interval);
  }
  appendRanges(out, "hole: ", coverage.holes);
  appendRanges(out, "overlap: ", coverage.overlaps);
  for (const auto& group : coverage.duplicates) {
    out.append("duplicate: ");
    appendNames(out, group);
    out.push_back('\n');
  }
  for (const auto& name : coverage.unreadable) {
    out.append("unreadable: ").append(escapeControls(name)).push_back('\n');
  }
  for (const auto& folder : unlisted) {
    out.append("unlisted: ").append(escapeControls(folder.path)).push_back('\n');
  }
  return out;
}

}  // namespace gapmerge
