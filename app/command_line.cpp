#include "app/command_line.hpp"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <map>
#include <string_view>
#include <thread>
#include <vector>

namespace gapmerge {

namespace {

constexpr int largestPlotSide = 20000;
constexpr unsigned threadsPerCore = 8;
constexpr unsigned threadCeiling = 1024;

CommandLine usageError(std::string message) {
  CommandLine line;
  line.command = Command::usageError;
  line.error = std::move(message);
  return line;
}

// A whole number of digits with nothing after it and no sign; none when it
// does not fit.
template <typename Number>
std::optional<Number> parseWhole(std::string_view text) {
  Number value{};
  const char* end = text.data() + text.size();
  if (text.empty() || text.front() < '0' || text.front() > '9') {
    return std::nullopt;
  }
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return value;
}

// "1200x800" (or "1200X800"): two sides from 1 to largestPlotSide.
std::optional<PlotSize> parsePlotSize(std::string_view text) {
  const auto x = text.find_first_of("xX");
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

std::string inQuotes(std::string_view text) {
  return "'" + std::string(text) + "'";
}

// The values given to each option that takes one, one per time it was given,
// and the names given in the --name=value form.
struct RawValues {
  std::map<std::string, std::vector<std::string>, std::less<>> values;
  std::vector<std::string> attached;  // "--csv" when "--csv=..." was given
};

// The value of an option given once; "" (and no value) when it was not given.
std::string checkOnce(const RawValues& raw, std::string_view name,
                      std::optional<std::string>& value) {
  const auto& given = raw.values.find(name)->second;
  if (given.size() > 1) {
    return std::string(name) + " is given more than once";
  }
  if (!given.empty()) {
    value = given.front();
  }
  return {};
}

// A file name for an export: "-" is standard output; a name that looks like
// an option is taken only when attached with "=", so that a forgotten value
// is not mistaken for a file name.
std::string checkFileName(const RawValues& raw, std::string_view name, const std::string& file) {
  if (file.empty()) {
    return std::string(name) + " needs a file name (or - for standard output), not ''";
  }
  const bool attached =
      std::find(raw.attached.begin(), raw.attached.end(), name) != raw.attached.end();
  if (file.front() == '-' && file != standardOutputName && !attached) {
    return std::string(name) + " needs a file name, not " + inQuotes(file) + " (write " +
           std::string(name) + "=" + file + " for a file of that name)";
  }
  return {};
}

// What a valued option takes, for the message when its value is missing.
std::string_view valueName(std::string_view option) {
  static const std::map<std::string_view, std::string_view> names = {
      {"--directory", "a directory DIR"}, {"--csv", "a FILE (or -)"},
      {"--json", "a FILE (or -)"},        {"--plot", "a FILE.png or FILE.svg"},
      {"--plot-size", "WIDTHxHEIGHT"},    {"--verify", "a number of reports or 'all'"},
      {"--seed", "a whole number"},       {"--verify-limit", "a number of integers"},
      {"--count-limit", "a number"},      {"--threads", "a number of threads"}};
  const auto found = names.find(option);
  return found == names.end() ? std::string_view("a value") : found->second;
}

// The option parser's errors in this program's words.
std::string parserError(const CLI::ParseError& error, const CLI::App& app) {
  std::string what = error.what();
  if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr && !app.remaining().empty()) {
    const std::string extra = app.remaining().front();
    return extra.starts_with("-") && extra != standardOutputName
               ? "unknown option " + inQuotes(extra)
               : "unexpected argument " + inQuotes(extra);
  }
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
    const std::string option = what.substr(0, what.find(':'));
    return option + " needs " + std::string(valueName(option));
  }
  if (const auto excludes = what.find(" excludes ");
      dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr && excludes != std::string::npos) {
    return what.substr(0, excludes) + " cannot be combined with " +
           what.substr(excludes + std::string_view(" excludes ").size());
  }
  return what;
}

unsigned coresOrOne() {
  return std::max(1U, std::thread::hardware_concurrency());
}

// Checks the values that the option parser took as text, and sets them.
std::string checkValues(const RawValues& raw, CommandLine& line) {
  std::optional<std::string> value;
  const auto given = [&raw, &value](std::string_view name, std::string& error) {
    value.reset();
    error = checkOnce(raw, name, value);
    return error.empty() && value.has_value();
  };
  std::string error;
  if (given("--directory", error)) {
    line.directory = *value;
  }
  for (const auto& [name, file] :
       {std::pair{"--csv", &line.csvFile}, std::pair{"--json", &line.jsonFile},
        std::pair{"--plot", &line.plotFile}}) {
    if (error.empty() && given(name, error)) {
      error = checkFileName(raw, name, *value);
      *file = *value;
    }
  }
  line.threads = coresOrOne();
  if (error.empty() && given("--threads", error)) {
    const auto threads = parseWhole<unsigned>(*value);
    if (!threads || *threads == 0 || *threads > mostThreads()) {
      return "--threads needs a number of threads from 1 to " + std::to_string(mostThreads()) +
             ", not " + inQuotes(*value);
    }
    line.threads = *threads;
  }
  if (error.empty() && given("--seed", error)) {
    const auto seed = parseWhole<std::uint64_t>(*value);
    if (!seed) {
      return "--seed needs a whole number from 0 to 18446744073709551615, not " + inQuotes(*value);
    }
    line.seed = *seed;
  }
  if (error.empty() && given("--verify", error)) {
    line.verify = parseVerify(*value);
    if (!line.verify) {
      return "--verify needs a number of reports above 0 or 'all', not " + inQuotes(*value);
    }
  }
  if (error.empty() && given("--verify-limit", error)) {
    const auto limit = parseWhole<std::uint64_t>(*value);
    if (!limit || *limit == 0) {
      return "--verify-limit needs a number of integers above 0, not " + inQuotes(*value);
    }
    line.verifyLimit = *limit;
  }
  if (error.empty() && given("--count-limit", error)) {
    const auto limit = parseWhole<std::uint64_t>(*value);
    if (!limit) {
      return "--count-limit needs a whole number (0: count no primes), not " + inQuotes(*value);
    }
    line.countLimit = *limit;
  }
  if (error.empty() && given("--plot-size", error)) {
    const auto size = parsePlotSize(*value);
    if (!size) {
      return "--plot-size needs WIDTHxHEIGHT, each from 1 to " + std::to_string(largestPlotSide) +
             ", not " + inQuotes(*value);
    }
    line.plotSize = *size;
  }
  return error;
}

// What the options mean together, once each value is right.
std::string checkCombinations(const RawValues& raw, const CommandLine& line,
                              const std::string& folder) {
  const auto has = [&raw](std::string_view name) { return !raw.values.find(name)->second.empty(); };
  if (!folder.empty() && !line.chooseFolder) {
    return "unexpected argument " + inQuotes(folder) +
           " (a FOLDER is taken only with --choose-folder)";
  }
  if (!line.plotFile.empty() && !hasPlotExtension(line.plotFile)) {
    return "--plot needs a file name ending in .png or .svg, not " + inQuotes(line.plotFile);
  }
  if (descriptorNamed(line.csvFile) == STDOUT_FILENO &&
      descriptorNamed(line.jsonFile) == STDOUT_FILENO) {
    return "--csv and --json cannot both write to standard output";
  }
  for (const auto& [option, needed] :
       {std::pair{"--plot-size", "--plot"}, std::pair{"--seed", "--verify"},
        std::pair{"--verify-limit", "--verify"}}) {
    if (has(option) && !has(needed)) {
      return std::string(option) + " needs " + needed;
    }
  }
  return {};
}

// Notes the options given as "--name=value".
std::vector<std::string> attachedNames(int argc, const char* const* argv) {
  std::vector<std::string> names;
  for (int k = 1; k < argc; ++k) {
    const std::string_view argument = argv[k];
    if (argument == "--") {
      break;
    }
    if (argument.starts_with("--") && argument.find('=') != std::string_view::npos) {
      names.emplace_back(argument.substr(0, argument.find('=')));
    }
  }
  return names;
}

// The words of the command line, each "-C=DIR" written "--directory=DIR",
// as a folder beginning with "-" is given attached to either name.
std::vector<std::string> wordsOf(int argc, const char* const* argv) {
  std::vector<std::string> words(argv, argv + argc);
  for (std::size_t k = 1; k < words.size() && words[k] != "--"; ++k) {
    if (words[k].starts_with("-C=")) {
      words[k] = "--directory=" + words[k].substr(3);
    }
  }
  return words;
}

}  // namespace

std::optional<int> descriptorNamed(const std::string& file) {
  if (file == standardOutputName || file == "/dev/stdout") {
    return STDOUT_FILENO;
  }
  if (file == "/dev/stderr") {
    return STDERR_FILENO;
  }
  constexpr std::string_view fdFolder = "/dev/fd/";
  int descriptor = 0;
  const char* end = file.data() + file.size();
  if (file.starts_with(fdFolder) && file.size() > fdFolder.size() &&
      std::from_chars(file.data() + fdFolder.size(), end, descriptor).ptr == end) {
    return descriptor;
  }
  return std::nullopt;
}

unsigned mostThreads() {
  return std::min(threadCeiling, threadsPerCore * coresOrOne());
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
  const std::vector<std::string> words = wordsOf(argc, argv);
  std::vector<const char*> arguments(words.size());
  std::transform(words.begin(), words.end(), arguments.begin(),
                 [](const std::string& word) { return word.c_str(); });
  argv = arguments.data();
  CommandLine line;
  RawValues raw{.values = {}, .attached = attachedNames(argc, argv)};
  bool help = false;
  bool version = false;
  bool batch = false;
  bool coverage = false;
  bool progress = false;
  bool quiet = false;
  std::string folder;

  CLI::App app("gapmerge");
  app.set_help_flag();
  const auto addValued = [&app, &raw](const std::string& names, const std::string& key) {
    return app.add_option(names, raw.values[key])
        ->type_size(1)
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  };
  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);
  auto* batchOption = app.add_flag("--batch", batch);
  auto* directoryOption = addValued("-C,--directory", "--directory");
  auto* chooseOption = app.add_flag("--choose-folder", line.chooseFolder);
  app.add_option("FOLDER", folder);
  auto* rangeOption = app.add_flag("--range-order", line.rangeOrder);
  app.add_flag("-L,--follow", line.followLinks);
  auto* csvOption = addValued("--csv", "--csv");
  auto* jsonOption = addValued("--json", "--json");
  auto* plotOption = addValued("--plot", "--plot");
  addValued("--plot-size", "--plot-size");
  auto* verifyOption = addValued("--verify", "--verify");
  addValued("--seed", "--seed");
  addValued("--verify-limit", "--verify-limit");
  auto* countOption = addValued("--count-limit", "--count-limit");
  addValued("--threads", "--threads");
  auto* progressOption = app.add_flag("--progress", progress);
  auto* quietOption = app.add_flag("--quiet", quiet);
  auto* coverageOption = app.add_flag("--coverage", coverage);

  coverageOption->excludes(csvOption, jsonOption, plotOption, verifyOption, countOption,
                           chooseOption, batchOption, progressOption, quietOption, rangeOption);
  chooseOption->excludes(batchOption, directoryOption);
  progressOption->excludes(quietOption);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return usageError(parserError(error, app));
  }
  if (help) {
    line.command = Command::help;
    return line;
  }
  if (version) {
    line.command = Command::version;
    return line;
  }
  if (std::string error = checkValues(raw, line); !error.empty()) {
    return usageError(error);
  }
  if (std::string error = checkCombinations(raw, line, folder); !error.empty()) {
    return usageError(error);
  }
  line.startFolder = folder;
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

std::string helpText() {
  return "Usage: gapmerge [--batch] [OPTION]... [-C DIR]\n"
         "  or:  gapmerge [OPTION]... --choose-folder [FOLDER]\n"
         "  or:  gapmerge --coverage [-L] [-C DIR]\n"
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
         "                       FILE names below are taken from DIR too; a DIR that\n"
         "                       begins with - is given attached: -C=-dir\n"
         "  --choose-folder [FOLDER]\n"
         "                       ask for the folder in a dialog first, which opens at\n"
         "                       FOLDER or else at the folder chosen last; Cancel ends\n"
         "                       without a run (the desktop menu starts gapmerge so)\n"
         "  --range-order        process the reports by the lower bound in their names\n"
         "                       (then by path) instead of by path alone; use it when the\n"
         "                       bounds in the names change their number of digits\n"
         "                       (1 to 100.000.000, then 100.000.001 to ...)\n"
         "  -L, --follow         enter links to folders too, every real folder once;\n"
         "                       without it they are passed over and counted on\n"
         "                       standard error\n"
         "  --csv FILE           also write the merged histogram as CSV to FILE\n"
         "                       (- for standard output)\n"
         "  --json FILE          also write the outcome of the run as JSON to FILE\n"
         "                       (- for standard output); an export to standard output\n"
         "                       is all that --batch then prints there\n"
         "  --plot FILE          also draw the gap chart into FILE (.png or .svg); needs\n"
         "                       no display\n"
         "  --plot-size WxH      the chart's size in pixels (default 1200x800)\n"
         "\n"
         "An export never replaces a file named fileout.txt or Tramvelok*, in any\n"
         "folder, a report or another export: such a FILE is a usage error. A FILE that\n"
         "begins with - is given attached: --csv=-x.csv\n"
         "\n"
         "  --coverage           only list the ranges the report names cover, their\n"
         "                       holes, overlaps, duplicates, unreadable names and the\n"
         "                       folders that could not be listed; reads no report and\n"
         "                       writes nothing\n"
         "  --verify N|all       sieve the ranges of N reports chosen at random (or of\n"
         "                       all) again with libprimesieve and warn about each report\n"
         "                       that differs from it\n"
         "  --seed S             the seed of that choice (default 20261206)\n"
         "  --verify-limit W     sieve no range wider than W integers (default\n"
         "                       1000000000000, minutes of sieving); a wider report is\n"
         "                       not verifiable\n"
         "  --count-limit X      count the primes from the lowest to the highest bound\n"
         "                       in the names with libprimecount, when that bound is\n"
         "                       at most X (default 100000000000000; 0: never), and\n"
         "                       hold them against the primes the merged gaps join\n"
         "  --threads N          read the reports, format fileout.txt, and sieve for\n"
         "                       --verify, on N threads each (default: one per core;\n"
         "                       at most 8 per core)\n"
         "  --progress           print the progress of a batch run to standard error,\n"
         "                       one line about every second and one at the end (on a\n"
         "                       terminal it is shown anyway, on one line redrawn)\n"
         "  --quiet              print no progress, even on a terminal (the lines about\n"
         "                       the result are printed all the same)\n"
         "  -h, --help           show this help\n"
         "  --version            show the version\n"
         "\n"
         "Exit status:\n"
         "  0  fileout.txt was written completely from every report, or the folder\n"
         "     dialog was cancelled\n"
         "  1  fileout.txt, an export or standard output could not be written, no\n"
         "     window could be opened, or memory ran out (\"gapmerge: out of memory\":\n"
         "     the previous fileout.txt is kept)\n"
         "  2  a usage error\n"
         "  3  the result is incomplete or doubtful: no report was found, a report or a\n"
         "     folder could not be read, slices do not join, a report does not add up\n"
         "     (its gap table against nGaps or its primes, a key line missing, gap sizes\n"
         "     outside 0 to 2000), a repeated slice differs from its first, or the\n"
         "     merged gaps do not join as many primes as their range holds; or\n"
         "     --coverage or --verify found a problem\n"
         "\n"
         "Environment:\n"
         "  QT_QPA_PLATFORM, WAYLAND_DISPLAY, DISPLAY\n"
         "                       the display the window opens on; when none answers, or\n"
         "                       the Qt platform plugin it needs is missing, gapmerge\n"
         "                       says so and exits with status 1\n"
         "\n"
         "Files:\n"
         "  fileout.txt          the merged statistics, written in the directory of the\n"
         "                       run as .fileout.txt.PID.tmp and renamed to fileout.txt\n"
         "                       once complete, so that an interrupted run leaves the\n"
         "                       previous one as it was\n"
         "  ~/.config/gapmerge/gapmerge.conf\n"
         "                       the folder chosen last in the folder dialog\n"
         "  $XDG_CACHE_HOME/gapmerge/prime-counts (~/.cache/gapmerge/prime-counts)\n"
         "                       the prime counts of earlier runs, so that a run\n"
         "                       repeated as slices arrive counts nothing again\n"
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
