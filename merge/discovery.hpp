#pragma once

#include <string>
#include <string_view>
#include <vector>

// Finding the slice reports below the working directory and putting them in
// processing order.
namespace gapmerge {

constexpr std::string_view reportNamePrefix = "Tramvelok";

// Every file below workingDirectory (which ends with "/") whose name begins
// with reportNamePrefix, in processing order.
std::vector<std::string> findReports(const std::string& workingDirectory);

// Appends the reports in directory and below it, depth first, in listing
// order. Symbolic links to directories are not entered; directories that
// cannot be listed contribute nothing.
void scanDirectory(const std::string& directory, std::vector<std::string>& reports);

// Sorts stably by the ordering key: the path read with "\" for "/" and "#"
// for "_", compared as UTF-16 code units.
void orderReports(std::vector<std::string>& reports);

// The ordering key of one path, as UTF-16 code units.
std::u16string orderingKey(std::string_view path);

}  // namespace gapmerge
