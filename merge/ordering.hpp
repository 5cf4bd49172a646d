#pragma once

#include "merge/discovery.hpp"

// The two orders in which reports can be processed.
//
// Path order: by the ordering key of the paths, the path read with "\" for
// "/" and "#" for "_" and decoded from UTF-8 into UTF-16, compared code unit
// by code unit. A byte that starts no valid UTF-8 sequence reads as the unit
// U+DC00 + byte, so every path has a key.
//
// Range order: by the lower bound in the names, as a number, and by the path
// ordering key where bounds are equal. It keeps slices in sieving order when
// the bounds in their names change their digit count.
namespace gapmerge {

// True when the key of the path a (ended by NUL) sorts before that of b. The
// keys are not built: the paths are compared byte by byte up to their first
// difference and decoded only from the character that holds it.
bool keyLess(const char* a, const char* b);

// Sorts stably by the ordering key of the paths.
void orderReports(ReportList& reports);

// Reorders a list that is in path order into range order.
void orderReportsByRange(ReportList& reports);

// True when the list is not in range order, and the ranges in the names,
// sorted by their lower bounds, follow each other without a hole or an
// overlap: each begins at the upper bound of the one before or at the integer
// after it. False when a name has no range.
bool joinsInRangeOrder(const ReportList& reports);

}  // namespace gapmerge
