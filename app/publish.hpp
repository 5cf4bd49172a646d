#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "app/command_line.hpp"
#include "app/run.hpp"
#include "merge/discovery.hpp"

// What a run writes beyond fileout.txt when the command line asks for it:
// the CSV and JSON exports and the gap chart. Before anything is read or
// written, the files they name are held against the run's own files: an
// export never replaces the merged results file, a slice report or another
// export.
namespace gapmerge {

// The gap chart as the bytes of an image file, or why it could not be drawn.
struct DrawnChart {
  std::optional<std::string> bytes;
  std::string failure = "the chart cannot be drawn at this size";  // when bytes is empty
};

// Draws the gap chart of an outcome.
using ChartDrawer = std::function<DrawnChart(const RunOutcome&)>;

// True when --csv or --json writes to standard output, which the batch text
// then leaves to the export alone.
bool exportsUseStandardOutput(const CommandLine& line);

// Writes each export that the line asks for, whole or not at all ("-" is
// standard output); the chart comes from drawChart, which must be set when
// the line asks for --plot. An export that cannot be written is named on
// errors as "gapmerge: cannot write FILE: <reason>", the others are still
// written, and the publish returns false.
Publish makePublish(const CommandLine& line, std::string version, ChartDrawer drawChart,
                    std::ostream& errors);

// The usage error for the first export that would replace fileout.txt of the
// run in directory (ending with "/"), a file named like a report in or below
// it, a report the run found, or another export; "" when there is none. Names
// are compared once their folders are resolved (links, "..", relative names
// taken from directory), and files by device and inode where they exist.
std::string checkExportTargets(const CommandLine& line, const std::string& directory,
                               const Discovery& found);

}  // namespace gapmerge
