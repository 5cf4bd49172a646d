// gapmerge: merges Tramvelok slice reports into prime-gap statistics. This
// file puts the program together: the command line, the run, and the view
// that shows it (the console, or the window when this build has one).
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <utility>

#include "app/command_line.hpp"
#include "app/console_view.hpp"
#include "app/coverage_listing.hpp"
#include "app/progress_line.hpp"
#include "app/publish.hpp"
#include "app/run.hpp"
#include "main/front_end.hpp"
#include "text/cores.hpp"
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

constexpr const char* noWindowInBuild =
    "gapmerge: this build has no window; 'gapmerge --batch' merges without one\n";
constexpr const char* noDisplay =
    "gapmerge: no window could be opened (no usable display); "
    "'gapmerge --batch' merges without one\n";

gapmerge::RunOptions runOptions(const gapmerge::CommandLine& line, std::string directory) {
  gapmerge::RunOptions options{.directory = std::move(directory),
                               .rangeOrder = line.rangeOrder,
                               .withCoverage = !line.jsonFile.empty(),
                               .threads = gapmerge::threadsOrCores(line.threads),
                               .verify = std::nullopt,
                               .progress = {}};
  if (line.verify) {
    options.verify = gapmerge::VerifyOptions{.choice = *line.verify,
                                             .seed = line.seed,
                                             .threads = gapmerge::threadsOrCores(line.threads)};
  }
  return options;
}

// A batch run shows its progress on a terminal, or in lines when asked to.
std::optional<gapmerge::ProgressStyle> progressStyle(gapmerge::ProgressMode mode) {
  switch (mode) {
    case gapmerge::ProgressMode::lines:
      return gapmerge::ProgressStyle::lines;
    case gapmerge::ProgressMode::automatic:
      if (::isatty(STDERR_FILENO) == 1) {
        return gapmerge::ProgressStyle::inPlace;
      }
      return std::nullopt;
    case gapmerge::ProgressMode::quiet:
      return std::nullopt;
  }
  return std::nullopt;
}

// Asks for the folder of the run and makes it the one to enter; the exit
// status when the program ends here.
std::optional<int> askForFolder(gapmerge::WindowFront* front, gapmerge::CommandLine& line) {
  if (front == nullptr) {
    std::cerr << noWindowInBuild;
    return exitFailed;
  }
  auto choice = front->chooseFolder(line.startFolder);
  switch (choice.answer) {
    case gapmerge::FolderAnswer::noDisplay:
      std::cerr << noDisplay;
      return exitFailed;
    case gapmerge::FolderAnswer::cancelled:
      return exitMerged;
    case gapmerge::FolderAnswer::chosen:
      line.directory = std::move(choice.folder);
      return std::nullopt;
  }
  return exitFailed;
}

int runInWindow(gapmerge::WindowFront* front, const gapmerge::RunOptions& options,
                const gapmerge::Publish& publish) {
  if (front == nullptr) {
    std::cerr << noWindowInBuild;
    return exitFailed;
  }
  const auto window = front->makeWindowView();
  const auto status = gapmerge::runMerge(*window, options, publish);
  if (status == gapmerge::RunStatus::viewUnavailable) {
    std::cerr << noDisplay;
  }
  return exitStatus(status);
}

}  // namespace

int main(int argc, char** argv) {
  // A write beyond the file size limit must fail and be reported like any
  // other failed write, not end the process.
  static_cast<void>(std::signal(SIGXFSZ, SIG_IGN));

  auto line = gapmerge::parseCommandLine(argc, argv);
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
  const auto drawChart = gapmerge::makeChartDrawer(line.plotFile, line.plotSize);
  if (!line.plotFile.empty() && !drawChart) {
    std::cerr << "gapmerge: this build has no window and cannot draw --plot; "
                 "'gapmerge --batch' merges and exports --csv and --json without one\n";
    return exitFailed;
  }
  const auto front =
      line.command == gapmerge::Command::window ? gapmerge::makeWindowFront(argv[0]) : nullptr;
  if (line.chooseFolder) {
    if (const auto ended = askForFolder(front.get(), line)) {
      return *ended;
    }
  }
  if (!line.directory.empty() && ::chdir(line.directory.c_str()) != 0) {
    std::cerr << "gapmerge: cannot enter directory '" << line.directory
              << "': " << std::strerror(errno) << "\n"
              << gapmerge::usageText();
    return exitUsage;
  }
  gapmerge::RunOptions options = runOptions(line, gapmerge::workingDirectory());
  if (options.directory.empty()) {
    std::cerr << "gapmerge: the working directory no longer exists\n";
    return exitFailed;
  }
  if (line.command == gapmerge::Command::coverage) {
    return gapmerge::listCoverage(options.directory, std::cout) ? exitMerged : exitCheckFailed;
  }
  const auto publish = gapmerge::makePublish(line, GAPMERGE_VERSION, drawChart, std::cerr);
  if (line.command == gapmerge::Command::batch) {
    std::optional<gapmerge::ProgressLine> progress;
    if (const auto style = progressStyle(line.progress)) {
      progress.emplace(std::cerr, *style);
      options.progress = [&progress](const gapmerge::RunProgress& now) { progress->show(now); };
    }
    gapmerge::ConsoleView console(gapmerge::exportsUseStandardOutput(line) ? nullptr : &std::cout);
    return exitStatus(gapmerge::runMerge(console, options, publish));
  }
  return runInWindow(front.get(), options, publish);
}
