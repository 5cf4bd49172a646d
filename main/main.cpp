// gapmerge: merges Tramvelok slice reports into prime-gap statistics. This
// file puts the program together: the command line, the run, and the view
// that shows it (the console, or the window when this build has one).
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <utility>

#include "app/command_line.hpp"
#include "app/console_view.hpp"
#include "app/coverage_listing.hpp"
#include "app/run.hpp"
#include "main/front_end.hpp"
#include "text/strings.hpp"

namespace {

constexpr int exitMerged = 0;
constexpr int exitFailed = 1;
constexpr int exitUsage = 2;
constexpr int exitCheckFailed = 3;  // --coverage or --verify found a problem

int exitStatus(gapmerge::RunStatus status) {
  switch (status) {
    case gapmerge::RunStatus::merged:
      return exitMerged;
    case gapmerge::RunStatus::reportMismatch:
      return exitCheckFailed;
    case gapmerge::RunStatus::mergedFileFailed:
    case gapmerge::RunStatus::publishFailed:
    case gapmerge::RunStatus::viewUnavailable:
      break;
  }
  return exitFailed;
}

gapmerge::RunOptions runOptions(const gapmerge::CommandLine& line, std::string directory) {
  gapmerge::RunOptions options{.directory = std::move(directory),
                               .rangeOrder = line.rangeOrder,
                               .withCoverage = !line.jsonFile.empty(),
                               .verify = std::nullopt};
  if (line.verify) {
    options.verify = gapmerge::VerifyOptions{
        .choice = *line.verify, .seed = line.seed, .threads = line.threads, .counters = nullptr};
  }
  return options;
}

int runInWindow(char* programName, const gapmerge::RunOptions& options) {
  const auto window = gapmerge::makeWindowView(programName);
  if (!window) {
    std::cerr << "gapmerge: this build has no window; 'gapmerge --batch' merges without one\n";
    return exitFailed;
  }
  const auto status = gapmerge::runMerge(*window, options);
  if (status == gapmerge::RunStatus::viewUnavailable) {
    std::cerr << "gapmerge: no window could be opened (no usable display); "
                 "'gapmerge --batch' merges without one\n";
  }
  return exitStatus(status);
}

}  // namespace

int main(int argc, char** argv) {
  // A write beyond the file size limit must fail and be reported like any
  // other failed write, not end the process.
  static_cast<void>(std::signal(SIGXFSZ, SIG_IGN));

  const auto line = gapmerge::parseCommandLine(argc, argv);
  switch (line.command) {
    case gapmerge::Command::help:
      std::cout << gapmerge::helpText();
      return exitMerged;
    case gapmerge::Command::version:
      std::cout << "gapmerge " << GAPMERGE_VERSION << "\n";
      return exitMerged;
    case gapmerge::Command::usageError:
      std::cerr << "gapmerge: " << line.error << "\n" << gapmerge::usageText();
      return exitUsage;
    case gapmerge::Command::window:
    case gapmerge::Command::batch:
    case gapmerge::Command::coverage:
      break;
  }
  if (!line.directory.empty() && ::chdir(line.directory.c_str()) != 0) {
    std::cerr << "gapmerge: cannot enter directory '" << line.directory
              << "': " << std::strerror(errno) << "\n"
              << gapmerge::usageText();
    return exitUsage;
  }
  const gapmerge::RunOptions options = runOptions(line, gapmerge::workingDirectory());
  if (options.directory.empty()) {
    std::cerr << "gapmerge: the working directory no longer exists\n";
    return exitFailed;
  }
  if (line.command == gapmerge::Command::coverage) {
    return gapmerge::listCoverage(options.directory, std::cout) ? exitMerged : exitCheckFailed;
  }
  if (line.command == gapmerge::Command::batch) {
    gapmerge::ConsoleView console(&std::cout);
    return exitStatus(gapmerge::runMerge(console, options));
  }
  return runInWindow(argv[0], options);
}
