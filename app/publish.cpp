#include "app/publish.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "merge/merged_file.hpp"
#include "render/csv.hpp"
#include "render/json.hpp"
#include "text/whole_file.hpp"

namespace gapmerge {

namespace {

using FileId = std::pair<dev_t, ino_t>;

// An export as the command line names it and as the file system finds it.
struct Target {
  std::string option;
  std::string file;
  std::string resolved;      // absolute, its folder resolved
  std::optional<FileId> id;  // of what it names, links followed, when that exists
};

std::optional<FileId> idOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return std::nullopt;
  }
  return FileId{info.st_dev, info.st_ino};
}

// The path of a folder with every link and ".." resolved as far as it exists,
// and "." and ".." taken away from the rest.
std::string resolvedFolder(const std::string& folder) {
  std::error_code error;
  std::string resolved = std::filesystem::weakly_canonical(folder, error).string();
  if (error || resolved.empty()) {
    resolved = std::filesystem::path(folder).lexically_normal().string();
  }
  while (resolved.size() > 1 && resolved.back() == '/') {
    resolved.pop_back();
  }
  return resolved;
}

// The file at path, its folder resolved: "/a/b/../c/x" becomes "/a/c/x".
std::string resolvedPath(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string folder = resolvedFolder(slash == 0 ? "/" : path.substr(0, slash));
  return (folder == "/" ? "" : folder) + path.substr(slash);
}

Target targetOf(std::string option, const std::string& file, const std::string& directory) {
  const std::string absolute = file.starts_with('/') ? file : directory + file;
  return {std::move(option), file, resolvedPath(absolute), idOf(absolute)};
}

std::vector<Target> targetsOf(const CommandLine& line, const std::string& directory) {
  std::vector<Target> targets;
  for (const auto& [option, file] :
       {std::pair{"--csv", &line.csvFile}, std::pair{"--json", &line.jsonFile},
        std::pair{"--plot", &line.plotFile}}) {
    if (!file->empty() && !descriptorNamed(*file)) {
      targets.push_back(targetOf(option, *file, directory));
    }
  }
  return targets;
}

bool sameFile(const Target& target, const std::string& resolved, const std::optional<FileId>& id) {
  return target.resolved == resolved || (target.id && target.id == id);
}

std::string_view fileNameOf(const Target& target) {
  return std::string_view(target.resolved).substr(target.resolved.rfind('/') + 1);
}

// The files among targets that are reports the run found, under whatever
// name; the reports are looked at only when some target exists.
std::set<FileId> foundReportsAmong(const std::vector<Target>& targets, const Discovery& found) {
  std::set<FileId> existing;
  for (const auto& target : targets) {
    if (target.id) {
      existing.insert(*target.id);
    }
  }
  std::set<FileId> reports;
  for (std::size_t i = 0; !existing.empty() && i < found.reports.size(); ++i) {
    if (const auto id = idOf(found.reports.path(i)); id && existing.contains(*id)) {
      reports.insert(*id);
    }
  }
  return reports;
}

std::string refusal(const Target& target, std::string_view what) {
  return target.option + " " + target.file + " would replace " + std::string(what);
}

std::optional<std::string> writeTo(const std::string& file, const std::string& bytes) {
  if (const auto descriptor = descriptorNamed(file)) {
    return writeDescriptor(*descriptor, bytes);
  }
  return writeWholeFile(file, bytes);
}

// Says why file was not written, when it was not; false then.
bool reportFailure(const std::string& file, const std::optional<std::string>& failure,
                   std::ostream& errors) {
  if (failure) {
    errors << "gapmerge: cannot write "
           << (descriptorNamed(file) == STDOUT_FILENO ? "standard output" : file) << ": "
           << *failure << "\n";
  }
  return !failure;
}

// Writes bytes to file; false after saying why they could not be written.
bool writeExport(const std::string& file, const std::string& bytes, std::ostream& errors) {
  return reportFailure(file, writeTo(file, bytes), errors);
}

bool writeExport(const std::string& file, const DrawnChart& chart, std::ostream& errors) {
  if (!chart.bytes) {
    return reportFailure(file, chart.failure, errors);
  }
  return writeExport(file, *chart.bytes, errors);
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
  return descriptorNamed(line.csvFile) == STDOUT_FILENO ||
         descriptorNamed(line.jsonFile) == STDOUT_FILENO;
}

Publish makePublish(const CommandLine& line, std::string version, ChartDrawer drawChart,
                    std::ostream& errors) {
  return [line, version = std::move(version), drawChart = std::move(drawChart),
          &errors](const RunOutcome& outcome) {
    return publishExports(line, version, drawChart, outcome, errors);
  };
}

std::string checkExportTargets(const CommandLine& line, const std::string& directory,
                               const Discovery& found) {
  const std::string folder = resolvedFolder(directory);
  const std::string merged = (folder == "/" ? folder : folder + "/") + std::string(mergedFileName);
  const auto mergedId = idOf(merged);
  const std::vector<Target> targets = targetsOf(line, directory);
  const std::set<FileId> reports = foundReportsAmong(targets, found);
  for (std::size_t k = 0; k < targets.size(); ++k) {
    const Target& target = targets[k];
    // Whatever folder it is in, a file of the merged file's name or a
    // report's name is some run's result or input.
    if (sameFile(target, merged, mergedId)) {
      return refusal(target, "the merged results file");
    }
    if (fileNameOf(target) == mergedFileName) {
      return refusal(target, "a merged results file");
    }
    if (fileNameOf(target).starts_with(reportNamePrefix) ||
        (target.id && reports.contains(*target.id))) {
      return refusal(target, "a slice report");
    }
    for (std::size_t j = 0; j < k; ++j) {
      if (sameFile(target, targets[j].resolved, targets[j].id)) {
        return refusal(target, "the file of " + targets[j].option);
      }
    }
  }
  return {};
}

}  // namespace gapmerge
