#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "merge/report_list.hpp"

// Finding the slice reports below the working directory and putting them in
// processing order.
namespace gapmerge {

constexpr std::string_view reportNamePrefix = "Tramvelok";

// A folder whose entries could not be read: nothing below it was found.
struct UnlistedFolder {
  std::string path;    // relative to the working directory, ending with "/"
  std::string reason;  // the system's text for the error
};

struct Discovery {
  ReportList reports;                    // in processing order
  std::vector<UnlistedFolder> unlisted;  // in the order the scan met them
  std::size_t linksNotFollowed = 0;      // links to folders passed over
};

// Every file below workingDirectory (which ends with "/") whose name begins
// with reportNamePrefix, in processing order. The scan goes depth first, in
// listing order, into every real folder once; links to folders are entered
// only when followLinks is set, and counted otherwise.
Discovery findReports(const std::string& workingDirectory, bool followLinks = false);

// Sorts stably by the ordering key of the paths (merge/ordering_key.hpp).
void orderReports(ReportList& reports);

}  // namespace gapmerge
