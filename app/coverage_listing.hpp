#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "merge/coverage.hpp"
#include "merge/report_list.hpp"

// gapmerge --coverage: how the report names below a folder cover the
// integers, one item a line, without reading any report.
namespace gapmerge {

// The coverage of the names of the reports in a report list (run order).
Coverage coverageOfReports(const ReportList& reports);

// "covered: ", "hole: ", "overlap: ", "duplicate: " and "unreadable: " lines,
// bounds grouped with "." as in fileout.txt; "no report found" without names.
std::string coverageText(const Coverage& coverage);

// Finds the reports below directory (ending with "/") and prints their
// coverage to out; true when they tile one interval.
bool listCoverage(const std::string& directory, std::ostream& out);

}  // namespace gapmerge
