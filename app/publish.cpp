#include "app/publish.hpp"

#include <utility>

#include "export/csv_export.hpp"
#include "export/json_export.hpp"
#include "export/whole_file.hpp"

namespace gapmerge {

namespace {

std::optional<std::string> writeTo(const std::string& file, const std::string& bytes) {
  if (file == standardOutputName) {
    return writeStandardOutput(bytes);
  }
  return writeWholeFile(file, bytes);
}

// Writes bytes to file; false after saying why they could not be written.
bool writeExport(const std::string& file, const std::optional<std::string>& bytes,
                 std::ostream& errors) {
  const auto failure = bytes ? writeTo(file, *bytes)
                             : std::optional<std::string>("the chart cannot be drawn at this size");
  if (failure) {
    errors << "gapmerge: cannot write " << (file == standardOutputName ? "standard output" : file)
           << ": " << *failure << "\n";
  }
  return !failure;
}

bool publishExports(const CommandLine& line, const std::string& version,
                    const ChartDrawer& drawChart, const RunOutcome& outcome, std::ostream& errors) {
  bool published = true;
  if (!line.csvFile.empty()) {
    published = writeExport(line.csvFile, csvText(outcome), errors) && published;
  }
  if (!line.jsonFile.empty()) {
    published = writeExport(line.jsonFile, jsonText(outcome, version), errors) && published;
  }
  if (!line.plotFile.empty()) {
    published = writeExport(line.plotFile, drawChart(outcome), errors) && published;
  }
  return published;
}

}  // namespace

bool exportsUseStandardOutput(const CommandLine& line) {
  return line.csvFile == standardOutputName || line.jsonFile == standardOutputName;
}

Publish makePublish(const CommandLine& line, std::string version, ChartDrawer drawChart,
                    std::ostream& errors) {
  return [line, version = std::move(version), drawChart = std::move(drawChart),
          &errors](const RunOutcome& outcome) {
    return publishExports(line, version, drawChart, outcome, errors);
  };
}

}  // namespace gapmerge
