#pragma once

#include "merge/report_list.hpp"

// Range order: the reports sorted by the lower bound in their names, as a
// number, and by the path ordering key where bounds are equal. It keeps slices
// in sieving order when the bounds in their names change their digit count.
namespace gapmerge {

// Reorders a list that is in path order.
void orderReportsByRange(ReportList& reports);

// True when the list is not in range order, and the ranges in the names,
// sorted by their lower bounds, follow each other without a hole or an
// overlap: each begins at the upper bound of the one before or at the integer
// after it. False when a name has no range.
bool joinsInRangeOrder(const ReportList& reports);

}  // namespace gapmerge
