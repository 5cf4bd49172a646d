#include "app/command_line.hpp"

#include <CLI/CLI.hpp>
#include <charconv>
#include <string_view>

namespace gapmerge {

namespace {

constexpr int largestPlotSide = 20000;

CommandLine usageError(std::string message) {
  CommandLine line;
  line.command = Command::usageError;
  line.error = std::move(message);
  return line;
}

// A whole number with nothing after it.
template <typename Number>
std::optional<Number> parseWhole(std::string_view text) {
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return value;
}

// "1200x800": two sides from 1 to largestPlotSide.
std::optional<PlotSize> parsePlotSize(std::string_view text) {
  const auto x = text.find('x');
  if (x == std::string_view::npos) {
    return std::nullopt;
  }
  const auto width = parseWhole<int>(text.substr(0, x));
  const auto height = parseWhole<int>(text.substr(x + 1));
  if (!width || !height || *width < 1 || *height < 1 || *width > largestPlotSide ||
      *height > largestPlotSide) {
    return std::nullopt;
  }
  return PlotSize{*width, *height};
}

std::optional<VerifyChoice> parseVerify(std::string_view text) {
  if (text == "all") {
    return VerifyChoice{.all = true};
  }
  const auto count = parseWhole<std::uint64_t>(text);
  if (!count || *count == 0) {
    return std::nullopt;
  }
  return VerifyChoice{.count = *count};
}

bool hasPlotExtension(std::string_view file) {
  return file.ends_with(".png") || file.ends_with(".svg");
}

// Checks what the option parser cannot see; "" when all is well.
std::string checkValues(CommandLine& line, const std::string& plotSize, const std::string& verify) {
  if (!plotSize.empty()) {
    const auto size = parsePlotSize(plotSize);
    if (!size) {
      return "--plot-size needs WIDTHxHEIGHT, each from 1 to " + std::to_string(largestPlotSide) +
             ", not '" + plotSize + "'";
    }
    line.plotSize = *size;
  }
  if (!verify.empty()) {
    line.verify = parseVerify(verify);
    if (!line.verify) {
      return "--verify needs a number of reports above 0 or 'all', not '" + verify + "'";
    }
  }
  if (!line.plotFile.empty() && !hasPlotExtension(line.plotFile)) {
    return "--plot needs a file name ending in .png or .svg, not '" + line.plotFile + "'";
  }
  if (line.csvFile == standardOutputName && line.jsonFile == standardOutputName) {
    return "--csv and --json cannot both write to standard output";
  }
  return {};
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  bool help = false;
  bool version = false;
  bool batch = false;
  bool coverage = false;
  bool progress = false;
  bool quiet = false;
  std::string plotSize;
  std::string verify;

  CLI::App app("gapmerge");
  app.set_help_flag();
  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);
  auto* batchOption = app.add_flag("--batch", batch);
  auto* directoryOption = app.add_option("-C,--directory", line.directory);
  auto* chooseOption = app.add_flag("--choose-folder", line.chooseFolder);
  app.add_option("FOLDER", line.startFolder)->needs(chooseOption);
  app.add_flag("--range-order", line.rangeOrder);
  auto* csvOption = app.add_option("--csv", line.csvFile);
  auto* jsonOption = app.add_option("--json", line.jsonFile);
  auto* plotOption = app.add_option("--plot", line.plotFile);
  app.add_option("--plot-size", plotSize);
  auto* verifyOption = app.add_option("--verify", verify);
  app.add_option("--seed", line.seed);
  app.add_option("--threads", line.threads)->check(CLI::PositiveNumber);
  auto* progressOption = app.add_flag("--progress", progress);
  auto* quietOption = app.add_flag("--quiet", quiet);
  auto* coverageOption = app.add_flag("--coverage", coverage);

  coverageOption->excludes(csvOption, jsonOption, plotOption, verifyOption, chooseOption);
  chooseOption->excludes(batchOption, directoryOption);
  progressOption->excludes(quietOption);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return usageError(error.what());
  }
  if (help) {
    line.command = Command::help;
    return line;
  }
  if (version) {
    line.command = Command::version;
    return line;
  }
  if (std::string error = checkValues(line, plotSize, verify); !error.empty()) {
    return usageError(error);
  }
  if (progress) {
    line.progress = ProgressMode::lines;
  } else if (quiet) {
    line.progress = ProgressMode::quiet;
  }
  if (coverage) {
    line.command = Command::coverage;
  } else if (batch) {
    line.command = Command::batch;
  }
  return line;
}

std::string usageText() {
  return "Usage: gapmerge [--batch] [OPTION]... [-C DIR]\n"
         "  or:  gapmerge [OPTION]... --choose-folder [FOLDER]\n"
         "  or:  gapmerge --coverage [-C DIR]\n";
}

std::string helpText() {
  return usageText() +
         "\n"
         "Merges the gap tables of every Tramvelok slice report found in the current\n"
         "directory and below it into one prime-gap histogram, checks each report for\n"
         "consistency, and writes the merged statistics to fileout.txt in that directory.\n"
         "\n"
         "Without options the result is shown in a window, after a question whether to\n"
         "open fileout.txt with the desktop's default application.\n"
         "\n"
         "Options:\n"
         "  --batch              no window and no question: print the result text (the\n"
         "                       closing summary, the last report name, the directory and\n"
         "                       the warnings) to standard output\n"
         "  -C, --directory DIR  run in DIR instead of the current directory; relative\n"
         "                       FILE names below are taken from DIR too\n"
         "  --choose-folder [FOLDER]\n"
         "                       ask for the folder in a dialog first, which opens at\n"
         "                       FOLDER or else at the folder chosen last; Cancel ends\n"
         "                       without a run (so the desktop menu starts gapmerge, and\n"
         "                       a file manager that opens a folder with it)\n"
         "  --range-order        process the reports by the lower bound in their names\n"
         "                       (then by path) instead of by path alone; use it when the\n"
         "                       bounds in the names change their number of digits\n"
         "                       (1 to 100.000.000, then 100.000.001 to ...)\n"
         "  --csv FILE           also write the merged histogram as CSV to FILE\n"
         "                       (- for standard output)\n"
         "  --json FILE          also write the outcome of the run as JSON to FILE\n"
         "                       (- for standard output); an export to standard output\n"
         "                       is all that --batch then prints there\n"
         "  --plot FILE          also draw the gap chart into FILE (.png or .svg); needs\n"
         "                       no display\n"
         "  --plot-size WxH      the chart's size in pixels (default 1200x800)\n"
         "  --coverage           only list the ranges the report names cover, their\n"
         "                       holes, overlaps, duplicates and unreadable names; reads\n"
         "                       no report and writes nothing\n"
         "  --verify N|all       sieve the ranges of N reports chosen at random (or of\n"
         "                       all) again with libprimesieve and warn about each report\n"
         "                       that differs from it\n"
         "  --seed S             the seed of that choice (default 20261206)\n"
         "  --threads N          format fileout.txt, and sieve for --verify, on N\n"
         "                       threads (default: one per core)\n"
         "  --progress           print the progress of a batch run to standard error,\n"
         "                       one line about every second and one at the end (on a\n"
         "                       terminal it is shown anyway, on one line redrawn)\n"
         "  --quiet              print no progress, even on a terminal\n"
         "  -h, --help           show this help\n"
         "  --version            show the version\n"
         "\n"
         "Exit status:\n"
         "  0  fileout.txt was written completely, or the folder dialog was cancelled\n"
         "  1  fileout.txt or an export could not be written, or no window could be\n"
         "     opened\n"
         "  2  a usage error\n"
         "  3  --coverage or --verify found a problem\n"
         "\n"
         "Environment:\n"
         "  QT_QPA_PLATFORM, WAYLAND_DISPLAY, DISPLAY\n"
         "                       the display the window opens on; when none answers, or\n"
         "                       the Qt platform plugin it needs is missing, gapmerge\n"
         "                       says so and exits with status 1\n"
         "\n"
         "Files:\n"
         "  fileout.txt          the merged statistics, written in the directory of the\n"
         "                       run and replaced at every run\n"
         "  ~/.config/gapmerge/gapmerge.conf\n"
         "                       the folder chosen last in the folder dialog\n"
         "\n"
         "Examples:\n"
         "  gapmerge --batch -C slices/\n"
         "                       merge the reports in slices/ and below it, and print\n"
         "                       the result\n"
         "  gapmerge --batch --range-order -C slices/\n"
         "                       the same for slices whose bounds change their number\n"
         "                       of digits\n"
         "  gapmerge --choose-folder\n"
         "                       ask for the folder, then show the result in a window\n";
}

}  // namespace gapmerge
