#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "merge/coverage.hpp"
#include "merge/discovery.hpp"
#include "merge/report_list.hpp"

// gapmerge --coverage: how the report names below a folder cover the
// integers, one item a line, without reading any report.
namespace gapmerge {

// The coverage of the names of the reports in a report list (run order) found
// below directory (ending with "/").
Coverage coverageOfReports(const ReportList& reports, const std::string& directory);

// "covered: ", "hole: ", "overlap: ", "duplicate: ", "unreadable: " and
// "unlisted: " lines, bounds grouped with "." as in fileout.txt, names and
// paths with their control characters escaped; "no report found" without
// names.
std::string coverageText(const Coverage& coverage, const std::vector<UnlistedFolder>& unlisted);

// Prints the coverage of what was found below directory to out; true when the
// names tile one interval and every folder could be listed.
bool listCoverage(const Discovery& found, const std::string& directory, std::ostream& out);

}  // namespace gapmerge
