#pragma once

#include <string>

#include "app/command_line.hpp"
#include "merge/discovery.hpp"

// The files that --csv, --json and --plot name, held against the run's own
// files before anything is read or written: an export never replaces the
// merged results file, a slice report or another export.
namespace gapmerge {

// The usage error for the first export that would replace fileout.txt of the
// run in directory (ending with "/"), a file named like a report in or below
// it, a report the run found, or another export; "" when there is none. Names
// are compared once their folders are resolved (links, "..", relative names
// taken from directory), and files by device and inode where they exist.
std::string checkExportTargets(const CommandLine& line, const std::string& directory,
                               const Discovery& found);

}  // namespace gapmerge
