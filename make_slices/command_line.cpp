#include "make_slices/command_line.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <thread>

#include "make_slices/number_argument.hpp"

namespace make_slices {

namespace {

// The reports hold signed 64-bit values, so no bound may exceed this.
constexpr std::uint64_t largestBound = std::numeric_limits<std::int64_t>::max();
constexpr std::size_t stampDigits = 14;
// One report per slice: more files than this are surely a typing error.
constexpr std::uint64_t mostSlices = 1'000'000;
// More threads than this only cost memory: every one holds a sieve.
constexpr unsigned mostThreads = 1024;
constexpr unsigned mostThreadsPerCore = 8;

const std::string boundTakes = "a whole number from 0 to " + std::to_string(largestBound);

// The options as CLI11 collected them: every value given, as written.
struct Given {
  CLI::Option* from = nullptr;
  CLI::Option* to = nullptr;
  CLI::Option* slices = nullptr;
  CLI::Option* size = nullptr;
  CLI::Option* index = nullptr;
  CLI::Option* threads = nullptr;
  CLI::Option* out = nullptr;
  CLI::Option* stamp = nullptr;
  CLI::Option* measureTime = nullptr;
  CLI::Option* help = nullptr;
  CLI::Option* version = nullptr;
};

// What each option with a value takes, as its error messages say it.
const std::array<std::pair<std::string_view, std::string>, 8> valueOptionTakes = {{
    {"--from", "the lower bound, " + boundTakes},
    {"--to", "the upper bound, " + boundTakes},
    {"--slices", "a number of slices from 1 to " + std::to_string(mostSlices)},
    {"--size", "a slice size of 1 or more"},
    {"--index", "a slice number from 0 to the number of slices - 1"},
    {"--threads", "a number of threads (0: one per core)"},
    {"--out", "the folder for the reports"},
    {"--stamp", "a time stamp of 14 digits (YYYYMMDDhhmmss)"},
}};

std::string takesOf(std::string_view name) {
  const auto* option = std::find_if(valueOptionTakes.begin(), valueOptionTakes.end(),
                                    [name](const auto& entry) { return entry.first == name; });
  return option != valueOptionTakes.end() ? option->second : "a value";
}

Options usageError(std::string message) {
  Options options;
  options.command = Command::usageError;
  options.error = std::move(message);
  return options;
}

std::string needsValue(std::string_view argument) {
  const std::string name(argument.substr(0, argument.find('=')));
  return name + " needs " + takesOf(name);
}

std::string wrongValue(const CLI::Option& option, const std::string& takes) {
  return option.get_name() + " needs " + takes + ", not '" + option.results().front() + "'";
}

// An option with one text value; repeats are kept, to be refused later.
CLI::Option* addValueOption(CLI::App& app, const std::string& name) {
  return app.add_option(name)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

Given declareOptions(CLI::App& app) {
  Given given;
  app.set_help_flag();
  app.allow_extras();
  given.help = app.add_flag("-h,--help");
  given.version = app.add_flag("--version");
  given.measureTime = app.add_flag("--measure-time");
  given.from = addValueOption(app, "--from");
  given.to = addValueOption(app, "--to");
  given.slices = addValueOption(app, "--slices");
  given.size = addValueOption(app, "--size");
  given.index = addValueOption(app, "--index");
  given.threads = addValueOption(app, "--threads");
  given.out = addValueOption(app, "--out");
  given.stamp = addValueOption(app, "--stamp");
  return given;
}

std::vector<const CLI::Option*> valueOptions(const Given& given) {
  return {given.from,  given.to,      given.slices, given.size,
          given.index, given.threads, given.out,    given.stamp};
}

// A value that is an option itself: the option before it lacks its value.
std::string checkTakenOptions(const Given& given) {
  for (const auto* option : valueOptions(given)) {
    for (const auto& value : option->results()) {
      if (value.starts_with("--")) {
        return needsValue(option->get_name());
      }
    }
  }
  return {};
}

std::string checkExtras(const std::vector<std::string>& extras) {
  if (extras.empty()) {
    return {};
  }
  const std::string& first = extras.front();
  if (first.starts_with('-') && first.size() > 1) {
    return "unknown option '" + first.substr(0, first.find('=')) + "'";
  }
  return "unexpected argument '" + first + "': every value follows its option";
}

std::string checkRepeats(const Given& given) {
  auto options = valueOptions(given);
  options.push_back(given.measureTime);
  for (const auto* option : options) {
    if (option->count() > 1) {
      return option->get_name() + " may be given only once";
    }
  }
  if (given.measureTime->count() == 1 && given.measureTime->results().front() != "true") {
    return "--measure-time takes no value";
  }
  return {};
}

// Reads the number given for option into target, which keeps its value when
// there is none; the error when it is not a whole number from lowest to highest.
std::string readNumber(const CLI::Option& option, std::uint64_t lowest, std::uint64_t highest,
                       const std::string& takes, std::uint64_t& target) {
  if (option.count() == 0) {
    return {};
  }
  const auto value = parseWholeNumber(option.results().front());
  if (!value || *value < lowest || *value > highest) {
    return wrongValue(option, takes);
  }
  target = *value;
  return {};
}

std::string readBounds(const Given& given, Options& options) {
  if (given.to->count() == 0) {
    return "--to is missing: give " + takesOf("--to");
  }
  std::string error = readNumber(*given.from, 0, largestBound, takesOf("--from"), options.from);
  if (error.empty()) {
    error = readNumber(*given.to, 0, largestBound, takesOf("--to"), options.to);
  }
  if (error.empty() && options.from > options.to) {
    error =
        "--from " + std::to_string(options.from) + " is above --to " + std::to_string(options.to);
  }
  return error;
}

// --slices N or --size S, and --index K below the number of slices they give.
std::string readCut(const Given& given, Options& options) {
  if (given.slices->count() != 0 && given.size->count() != 0) {
    return "--slices and --size exclude each other: give one of them";
  }
  if (given.slices->count() == 0 && given.size->count() == 0) {
    return "--slices or --size is missing: give " + takesOf("--slices") + " or " +
           takesOf("--size");
  }
  const std::uint64_t span = options.to - options.from;
  const std::uint64_t mostHere = std::min(mostSlices, span + 1);
  const std::uint64_t leastSize = span / mostSlices + 1;
  std::string error =
      readNumber(*given.slices, 1, mostHere,
                 "a number of slices from 1 to " + std::to_string(mostHere), options.slices);
  if (error.empty()) {
    error = readNumber(*given.size, leastSize, std::numeric_limits<std::uint64_t>::max(),
                       "a slice size of " + std::to_string(leastSize) + " or more (at most " +
                           std::to_string(mostSlices) + " slices)",
                       options.size);
  }
  if (error.empty() && given.index->count() != 0) {
    const std::uint64_t count = options.slices != 0 ? options.slices : span / options.size + 1;
    error = readNumber(*given.index, 0, count - 1,
                       "a slice number from 0 to " + std::to_string(count - 1),
                       options.index.emplace());
  }
  return error;
}

bool isStamp(std::string_view text) {
  return text.size() == stampDigits &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string readRest(const Given& given, Options& options) {
  const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
  const unsigned highest = std::min(mostThreads, mostThreadsPerCore * cores);
  std::uint64_t threads = 0;
  std::string error = readNumber(
      *given.threads, 0, highest,
      "a number of threads from 0 (one per core) to " + std::to_string(highest), threads);
  options.threads = threads == 0 ? cores : static_cast<unsigned>(threads);
  if (error.empty() && given.out->count() == 0) {
    error = "--out is missing: give " + takesOf("--out");
  } else if (error.empty() && given.out->results().front().empty()) {
    error = wrongValue(*given.out, takesOf("--out"));
  }
  if (error.empty() && given.stamp->count() != 0) {
    options.stamp = given.stamp->results().front();
    if (!isStamp(options.stamp)) {
      error = wrongValue(*given.stamp, takesOf("--stamp"));
    }
  }
  if (error.empty()) {
    options.out = given.out->results().front();
    options.measureTime = given.measureTime->count() != 0;
  }
  return error;
}

}  // namespace

Options parseOptions(int argc, const char* const* argv) {
  CLI::App app("make-slices");
  const Given given = declareOptions(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError&) {
    // With every option a text and extras allowed, only an option at the
    // very end that lacks its value stops CLI11.
    return usageError(needsValue(argv[argc - 1]));
  }
  if (std::string error = checkTakenOptions(given); !error.empty()) {
    return usageError(error);
  }
  if (std::string error = checkExtras(app.remaining()); !error.empty()) {
    return usageError(error);
  }
  Options options;
  if (given.help->count() != 0) {
    options.command = Command::help;
    return options;
  }
  if (given.version->count() != 0) {
    options.command = Command::version;
    return options;
  }
  std::string error = checkRepeats(given);
  if (error.empty()) {
    error = readBounds(given, options);
  }
  if (error.empty()) {
    error = readCut(given, options);
  }
  if (error.empty()) {
    error = readRest(given, options);
  }
  return error.empty() ? options : usageError(error);
}

std::string helpText() {
  return "Usage: make-slices [OPTION]... --from A --to B --slices N --out DIR\n"
         "  or:  make-slices [OPTION]... --from A --to B --size S --out DIR\n"
         "\n"
         "Sieves the range [A, B] and writes one Tramvelok slice report per slice into\n"
         "DIR (created when missing), named \"Tramvelok <low> to <high> <stamp>.txt\".\n"
         "The slices touch: each one starts one above the upper bound of the one before.\n"
         "They are sieved on all cores and written in slice order, each report under a\n"
         "temporary name beginning with \".\" that is renamed once the report is complete\n"
         "and on disk, so that an interrupted run leaves no partial report.\n"
         "\n"
         "Numbers are decimal digits, plain or grouped by threes with \".\" or \"_\"\n"
         "(10000000000, 10.000.000.000, 10_000_000_000), or a decimal with an exponent\n"
         "when its value is a whole number (1e10, 2.5e9). Every option may be written\n"
         "--option VALUE or --option=VALUE, and given once.\n"
         "\n"
         "Options:\n"
         "  --from A        lower bound of the range (default 0)\n"
         "  --to B          upper bound of the range (at most 2^63 - 1)\n"
         "  --slices N      cut the range into N slices of (nearly) equal width\n"
         "                  (at most 1.000.000)\n"
         "  --size S        cut the range into slices of S integers; the last may be\n"
         "                  shorter\n"
         "  --out DIR       folder for the reports; reports of the same name are\n"
         "                  replaced, but never a symbolic link or anything else that\n"
         "                  is not a regular file\n"
         "  --index K       write slice K alone (0 to N - 1), with the very name and\n"
         "                  bytes that the whole run gives it: one slice per task of a\n"
         "                  scheduler, for example a Slurm job array or GNU parallel\n"
         "  --threads N     sieve on N threads (default 0: one per core; at most 8 per\n"
         "                  core and 1.024)\n"
         "  --stamp STAMP   the 14-digit time stamp in the file names (default\n"
         "                  20261206120000), so that regenerated reports are identical\n"
         "  --measure-time  write the measured sieving time of each slice instead of\n"
         "                  0.000s\n"
         "  -h, --help      show this help\n"
         "  --version       show the version\n"
         "\n"
         "Exit status:\n"
         "  0  every report was written\n"
         "  1  the folder or a report could not be written, or memory ran out\n"
         "     (\"make-slices: out of memory\"; the reports written are whole)\n"
         "  2  a usage error\n"
         "\n"
         "Examples:\n"
         "  make-slices --from 1 --to 100.000.000 --slices 10 --out examples\n"
         "                  the examples of gapmerge: 1 to 100.000.000 in ten slices\n"
         "  make-slices --from 1 --to 1e6 --size 100_000 --out slices\n"
         "                  ten slices of 100.000 integers each\n";
}

}  // namespace make_slices
