#include "app/coverage_listing.hpp"

#include <string_view>

#include "merge/discovery.hpp"
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
    out.append(k == 0 ? "" : ", ").append(names[k]);
  }
}

}  // namespace

Coverage coverageOfReports(const ReportList& reports) {
  std::vector<std::string_view> names;
  names.reserve(reports.size());
  for (std::size_t i = 0; i < reports.size(); ++i) {
    names.push_back(filePart(reports.pathView(i)));
  }
  return findCoverage(names);
}

std::string coverageText(const Coverage& coverage) {
  if (coverage.covered.empty() && coverage.unreadable.empty()) {
    return "no report found\n";
  }
  std::string out;
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
    out.append("unreadable: ").append(name).push_back('\n');
  }
  return out;
}

bool listCoverage(const std::string& directory, std::ostream& out) {
  const Coverage coverage = coverageOfReports(findReports(directory));
  out << coverageText(coverage) << std::flush;
  return tilesOneInterval(coverage);
}

}  // namespace gapmerge
