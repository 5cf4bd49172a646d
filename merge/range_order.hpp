#pragma once

#include "merge/report_list.hpp"

// Range order: the reports sorted by the lower bound in their names, as a
// number, and by the path ordering key where bounds are equal. It keeps slices
// in sieving order when the bounds in their names change their digit count.
namespace gapmerge {

// Reorders a list that is in path order.
void orderReportsByRange(ReportList& reports);

}  // namespace gapmerge
