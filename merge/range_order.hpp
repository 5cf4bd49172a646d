#pragma once

#include <string>
#include <vector>

// Range order: the reports sorted by the lower bound in their names, as a
// number, and by the path ordering key where bounds are equal. It keeps slices
// in sieving order when the bounds in their names change their digit count.
namespace gapmerge {

void orderReportsByRange(std::vector<std::string>& reports);

}  // namespace gapmerge
