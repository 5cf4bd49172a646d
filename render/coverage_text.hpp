#pragma once

#include <string>
#include <vector>

#include "merge/coverage.hpp"
#include "merge/discovery.hpp"

// The listing of gapmerge --coverage: how the report names below a folder
// cover the integers, one item a line.
namespace gapmerge {

// "covered: ", "hole: ", "overlap: ", "duplicate: ", "unreadable: " and
// "unlisted: " lines, bounds grouped with "." as in fileout.txt, names and
// paths with their control characters escaped; "no report found" without
// names.
std::string coverageText(const Coverage& coverage, const std::vector<UnlistedFolder>& unlisted);

}  // namespace gapmerge
