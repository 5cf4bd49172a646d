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
#include "app/progress_line.hpp"
#include "app/publish.hpp"
#include "app/result_view.hpp"
#include "app/run.hpp"
#include "main/front_end.hpp"
#include "merge/coverage.hpp"
#include "merge/discovery.hpp"
#include "outcome/run_outcome.hpp"
#include "render/coverage_text.hpp"
#include "render/standard_error.hpp"
#include "text/resource_failure.hpp"
#include "text/standard_streams.hpp"
#include "text/strings.hpp"
#include "text/whole_file.hpp"

namespace {

using gapmerge::exitDone;
using gapmerge::exitFailed;
using gapmerge::exitIncomplete;
using gapmerge::exitUsage;

constexpr const char* noWindowInBuild =
    "gapmerge: this build has no window; 'gapmerge --batch' merges without one\n";
constexpr const char* noDisplay =
    "gapmerge: no window could be opened (no usable display); "
    "'gapmerge --batch' merges without one\n";

int usageError(const std::string& message) {
  std::cerr << "gapmerge: " << message << "\n" << gapmerge::usageHint;
  return exitUsage;
}

// Writes text to standard output; exit 1 after saying why when it cannot.
int printOut(const std::string& text, int status) {
  if (const auto failure = gapmerge::writeDescriptor(STDOUT_FILENO, text)) {
    std::cerr << "gapmerge: cannot write standard output: " << *failure << "\n";
    return exitFailed;
  }
  return status;
}

gapmerge::RunOptions runOptions(const gapmerge::CommandLine& line, std::string directory) {
  gapmerge::RunOptions options{.directory = std::move(directory),
                               .rangeOrder = line.rangeOrder,
                               .threads = line.threads,
                               .countLimit = line.countLimit,
                               .verify = std::nullopt,
                               .progress = {}};
  if (line.verify) {
    options.verify = gapmerge::VerifyOptions{.choice = *line.verify,
                                             .seed = line.seed,
                                             .threads = line.threads,
                                             .limit = line.verifyLimit};
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
      return exitDone;
    case gapmerge::FolderAnswer::chosen:
      line.directory = std::move(choice.folder);
      return std::nullopt;
  }
  return exitFailed;
}

// The lines about the result on standard error, as soon as it is known: the
// summary of what was merged only without --quiet.
gapmerge::Tell tellOnStandardError(const gapmerge::CommandLine& line) {
  const bool withSummary = line.progress != gapmerge::ProgressMode::quiet;
  return [withSummary](const gapmerge::RunOutcome& outcome) {
    std::cerr << gapmerge::resultLines(outcome, withSummary) << std::flush;
  };
}

int runInBatch(const gapmerge::CommandLine& line, gapmerge::RunOptions options,
               gapmerge::Discovery found, const gapmerge::Publish& publish) {
  std::optional<gapmerge::ProgressLine> progress;
  if (const auto style = progressStyle(line.progress)) {
    progress.emplace(std::cerr, *style);
    options.progress = [&progress](const gapmerge::RunProgress& now) { progress->show(now); };
  }
  gapmerge::ConsoleView console(!gapmerge::exportsUseStandardOutput(line));
  const auto outcome =
      gapmerge::runMerge(console, options, std::move(found), publish, tellOnStandardError(line));
  const int status = gapmerge::exitStatusOf(*outcome);
  if (console.failure()) {
    std::cerr << "gapmerge: cannot write standard output: " << *console.failure() << "\n";
    return exitFailed;
  }
  return status;
}

int runInWindow(gapmerge::WindowFront* front, const gapmerge::CommandLine& line,
                const gapmerge::RunOptions& options, gapmerge::Discovery found,
                const gapmerge::Publish& publish) {
  if (front == nullptr) {
    std::cerr << noWindowInBuild;
    return exitFailed;
  }
  const auto window = front->makeWindowView();
  const auto outcome =
      gapmerge::runMerge(*window, options, std::move(found), publish, tellOnStandardError(line));
  if (!outcome) {
    std::cerr << noDisplay;
    return exitFailed;
  }
  return gapmerge::exitStatusOf(*outcome);
}

int runProgram(int argc, char** argv) {
  gapmerge::endWhenMemoryRunsOut();
  if (!gapmerge::openClosedStandardStreams()) {
    std::cerr << "gapmerge: cannot open /dev/null for a closed standard stream\n";
    return exitFailed;
  }
  // A write beyond the file size limit must fail and be reported like any
  // other failed write, not end the process.
  static_cast<void>(std::signal(SIGXFSZ, SIG_IGN));
  gapmerge::removeTemporaryFilesOnSignals();

  auto line = gapmerge::parseCommandLine(argc, argv);
  switch (line.command) {
    case gapmerge::Command::help:
      return printOut(gapmerge::helpText(), exitDone);
    case gapmerge::Command::version:
      return printOut("gapmerge " GAPMERGE_VERSION "\n", exitDone);
    case gapmerge::Command::usageError:
      return usageError(line.error);
    case gapmerge::Command::window:
    case gapmerge::Command::batch:
    case gapmerge::Command::coverage:
      break;
  }
  const auto front =
      line.command == gapmerge::Command::window ? gapmerge::makeWindowFront(argv[0]) : nullptr;
  if (line.chooseFolder) {
    if (const auto ended = askForFolder(front.get(), line)) {
      return *ended;
    }
  }
  if (!line.directory.empty() && ::chdir(line.directory.c_str()) != 0) {
    return usageError("cannot enter directory '" + line.directory + "': " + std::strerror(errno));
  }
  gapmerge::RunOptions options = runOptions(line, gapmerge::workingDirectory());
  if (options.directory.empty()) {
    std::cerr << "gapmerge: the working directory no longer exists\n";
    return exitFailed;
  }
  gapmerge::Discovery found = gapmerge::findReports(options.directory, line.followLinks);
  std::cerr << gapmerge::linksLine(found.linksNotFollowed);
  if (line.command == gapmerge::Command::coverage) {
    const auto coverage = gapmerge::coverageOfReports(found.reports, options.directory);
    const bool whole = gapmerge::tilesOneInterval(coverage) && found.unlisted.empty();
    return printOut(gapmerge::coverageText(coverage, found.unlisted),
                    whole ? exitDone : exitIncomplete);
  }
  if (const std::string refused = gapmerge::checkExportTargets(line, options.directory, found);
      !refused.empty()) {
    return usageError(refused);
  }
  const auto drawChart = gapmerge::makeChartDrawer(line.plotFile, line.plotSize);
  if (!line.plotFile.empty() && !drawChart) {
    std::cerr << "gapmerge: this build has no window and cannot draw --plot; "
                 "'gapmerge --batch' merges and exports --csv and --json without one\n";
    return exitFailed;
  }
  const auto publish = gapmerge::makePublish(line, GAPMERGE_VERSION, drawChart, std::cerr);
  if (line.command == gapmerge::Command::batch) {
    return runInBatch(line, std::move(options), std::move(found), publish);
  }
  return runInWindow(front.get(), line, options, std::move(found), publish);
}

}  // namespace

int main(int argc, char** argv) {
  return gapmerge::runOrEnd([&] { return runProgram(argc, argv); });
}
