#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "outcome/run_outcome.hpp"
#include "verify/verification.hpp"

// The command line. Without arguments the program runs with its window.
namespace gapmerge {

enum class Command { window, batch, coverage, help, version, usageError };

// How a batch run reports its progress on standard error.
enum class ProgressMode {
  automatic,  // a line redrawn in place when standard error is a terminal
  lines,      // --progress: plain lines, about one a second
  quiet,      // --quiet: nothing
};

struct PlotSize {
  int width = 1200;
  int height = 800;
};

struct CommandLine {
  Command command = Command::window;
  std::string directory;      // -C DIR: enter DIR before the run
  bool chooseFolder = false;  // --choose-folder: ask for the folder in a dialog
  std::string startFolder;    // --choose-folder FOLDER: the dialog opens there
  bool rangeOrder = false;    // --range-order
  std::string csvFile;        // --csv FILE ("-": standard output)
  std::string jsonFile;       // --json FILE ("-": standard output)
  std::string plotFile;       // --plot FILE.png or FILE.svg
  PlotSize plotSize;          // --plot-size WxH
  std::optional<VerifyChoice> verify;
  std::uint64_t seed = defaultVerifySeed;          // --seed S
  std::uint64_t verifyLimit = defaultVerifyLimit;  // --verify-limit W
  std::uint64_t countLimit = defaultCountLimit;    // --count-limit X
  bool followLinks = false;                        // -L, --follow
  unsigned threads = 1;                            // --threads N, else one per core
  ProgressMode progress = ProgressMode::automatic;
  std::string error;  // what was wrong, for Command::usageError
};

// The name that stands for standard output in --csv and --json.
constexpr const char* standardOutputName = "-";

// The descriptor that an export's file name stands for: 1 for "-",
// "/dev/stdout" and "/dev/fd/1", 2 for "/dev/stderr", N for "/dev/fd/N";
// none for any other name. Such an export is written to the descriptor as it
// stands, never replaced.
std::optional<int> descriptorNamed(const std::string& file);

// The most threads --threads may ask for: 8 per core, at most 1,024.
unsigned mostThreads();

CommandLine parseCommandLine(int argc, const char* const* argv);

std::string helpText();

// The lines after a usage error's own line.
constexpr const char* usageHint = "Try 'gapmerge --help' for more information.\n";

}  // namespace gapmerge
