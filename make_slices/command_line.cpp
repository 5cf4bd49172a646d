#include "make_slices/command_line.hpp"

#include <charconv>
#include <limits>
#include <optional>

namespace make_slices {

namespace {

// The reports hold signed 64-bit values, so no bound may exceed this.
constexpr std::uint64_t largestBound = std::numeric_limits<std::int64_t>::max();
constexpr std::size_t stampDigits = 14;
// One report per slice: more files than this are surely a typing error.
constexpr std::uint64_t mostSlices = 1'000'000;

Options usageError(std::string message) {
  Options options;
  options.command = Command::usageError;
  options.error = std::move(message);
  return options;
}

// Decimal digits, optionally grouped with "." or "_" (1.000.000 or 1_000_000).
std::optional<std::uint64_t> parseNumber(std::string_view text) {
  std::string digits;
  for (const char c : text) {
    if (c != '.' && c != '_') {
      digits.push_back(c);
    }
  }
  std::uint64_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, value);
  if (digits.empty() || error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return value;
}

bool isStamp(std::string_view text) {
  if (text.size() != stampDigits) {
    return false;
  }
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return false;
    }
  }
  return true;
}

bool setNumber(std::string_view name, std::string_view text, std::uint64_t& target,
               std::string& error) {
  const auto value = parseNumber(text);
  if (!value) {
    error = std::string(name) + " needs a whole number, not '" + std::string(text) + "'";
    return false;
  }
  target = *value;
  return true;
}

// Sets the option name from its value; false with error set when either is wrong.
bool setOption(std::string_view name, std::string_view value, Options& options,
               std::string& error) {
  if (name == "--from") {
    return setNumber(name, value, options.from, error);
  }
  if (name == "--to") {
    return setNumber(name, value, options.to, error);
  }
  if (name == "--slices") {
    return setNumber(name, value, options.slices, error);
  }
  if (name == "--size") {
    return setNumber(name, value, options.size, error);
  }
  if (name == "--index") {
    return setNumber(name, value, options.index.emplace(), error);
  }
  if (name == "--out") {
    options.out = value;
    return true;
  }
  if (name == "--stamp") {
    options.stamp = value;
    if (!isStamp(value)) {
      error = "--stamp needs 14 digits (YYYYMMDDhhmmss)";
      return false;
    }
    return true;
  }
  error = "unknown option '" + std::string(name) + "'";
  return false;
}

// The combination of the options, once all are read.
std::string checkOptions(const Options& options) {
  if (options.out.empty()) {
    return "--out is missing";
  }
  if (options.to > largestBound) {
    return "--to may be at most " + std::to_string(largestBound);
  }
  if (options.from > options.to) {
    return "--from is above --to";
  }
  if ((options.slices == 0) == (options.size == 0)) {
    return "give either --slices N or --size S, with N or S above 0";
  }
  if (options.slices > options.to - options.from + 1) {
    return "--slices is larger than the number of integers in the range";
  }
  const std::uint64_t count =
      options.slices != 0 ? options.slices : (options.to - options.from) / options.size + 1;
  if (count > mostSlices) {
    return "more than " + std::to_string(mostSlices) + " slices";
  }
  if (options.index && *options.index >= count) {
    return "--index must be below the number of slices, " + std::to_string(count);
  }
  return {};
}

}  // namespace

Options parseOptions(const std::vector<std::string_view>& arguments) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.command = Command::help;
      return options;
    }
    if (argument == "--measure-time") {
      options.measureTime = true;
      continue;
    }
    if (i + 1 == arguments.size()) {
      return usageError(std::string(argument) + " needs a value");
    }
    std::string error;
    if (!setOption(argument, arguments[++i], options, error)) {
      return usageError(error);
    }
  }
  if (std::string error = checkOptions(options); !error.empty()) {
    return usageError(error);
  }
  return options;
}

std::string usageText() {
  return "Usage: make-slices [OPTION]... --from A --to B --slices N --out DIR\n"
         "  or:  make-slices [OPTION]... --from A --to B --size S --out DIR\n";
}

std::string helpText() {
  return usageText() +
         "\n"
         "Sieves the range [A, B] and writes one Tramvelok slice report per slice into\n"
         "DIR (created when missing), named \"Tramvelok <low> to <high> <stamp>.txt\".\n"
         "The slices touch: each one starts one above the upper bound of the one before.\n"
         "They are sieved on all cores and written in slice order. Numbers may be\n"
         "grouped with \".\" or \"_\" (1.000.000.000).\n"
         "\n"
         "Options:\n"
         "  --from A        lower bound of the range (0 or more)\n"
         "  --to B          upper bound of the range (at most 2^63 - 1)\n"
         "  --slices N      cut the range into N slices of (nearly) equal width\n"
         "  --size S        cut the range into slices of S integers; the last may be shorter\n"
         "  --out DIR       folder for the reports; reports of the same name are replaced\n"
         "  --index K       write slice K alone (0 to N - 1), with the very name and bytes\n"
         "                  that the whole run gives it: one slice per task of a\n"
         "                  scheduler, for example a Slurm job array or GNU parallel\n"
         "  --stamp STAMP   the 14-digit time stamp in the file names (default\n"
         "                  20261206120000), so that regenerated reports are identical\n"
         "  --measure-time  write the measured sieving time of each slice instead of 0.000s\n"
         "  -h, --help      show this help\n"
         "\n"
         "Exit status:\n"
         "  0  every report was written\n"
         "  1  writing failed\n"
         "  2  a usage error\n"
         "\n"
         "Examples:\n"
         "  make-slices --from 1 --to 100.000.000 --slices 10 --out examples\n"
         "                      the examples of gapmerge: 1 to 100.000.000 in ten slices\n"
         "  make-slices --from 1 --to 1.000.000 --size 100.000 --out slices\n"
         "                      ten slices of 100.000 integers each\n";
}

}  // namespace make_slices
