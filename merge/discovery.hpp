#pragma once

#include <string>
#include <string_view>

#include "merge/report_list.hpp"

// Finding the slice reports below the working directory and putting them in
// processing order.
namespace gapmerge {

constexpr std::string_view reportNamePrefix = "Tramvelok";

// Every file below workingDirectory (which ends with "/") whose name begins
// with reportNamePrefix, in processing order.
ReportList findReports(const std::string& workingDirectory);

// Appends the reports in directory and below it, depth first, in listing
// order. Symbolic links to directories are not entered; directories that
// cannot be listed contribute nothing.
void scanDirectory(const std::string& directory, ReportList& reports);

// Sorts stably by the ordering key of the paths (merge/ordering_key.hpp).
void orderReports(ReportList& reports);

}  // namespace gapmerge
