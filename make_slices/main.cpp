// make-slices: writes real Tramvelok slice reports for a range cut into
// slices, the input that gapmerge merges.
#include <filesystem>
#include <iostream>
#include <string_view>
#include <system_error>
#include <vector>

#include "make_slices/command_line.hpp"
#include "make_slices/report_file.hpp"
#include "make_slices/report_text.hpp"
#include "make_slices/slice_plan.hpp"
#include "make_slices/slice_sieve.hpp"
#include "text/resource_failure.hpp"
#include "text/standard_streams.hpp"
#include "text/whole_file.hpp"

namespace {

constexpr int exitWritten = 0;
constexpr int exitFailed = 1;
constexpr int exitUsage = 2;
constexpr std::string_view fixedElapsed = "0.000";

// Every slice of the range, or slice K alone with --index K.
std::vector<make_slices::SliceRange> planSlices(const make_slices::Options& options) {
  auto slices = options.slices != 0
                    ? make_slices::cutIntoSlices(options.from, options.to, options.slices)
                    : make_slices::cutBySize(options.from, options.to, options.size);
  if (options.index) {
    return {slices[*options.index]};
  }
  return slices;
}

bool reportFailure(const std::filesystem::path& file, const std::string& reason) {
  std::cerr << "make-slices: cannot write '" << file.string() << "': " << reason << "\n";
  return false;
}

// Writes one report per slice into options.out, in slice order; false after
// the first failure.
bool writeReports(const make_slices::Options& options) {
  const std::filesystem::path folder(options.out);
  const bool written = make_slices::sieveSlices(
      planSlices(options), options.threads, [&](const make_slices::SliceSummary& slice) {
        const auto file = folder / make_slices::reportName(slice.range, options.stamp);
        const std::string elapsed = options.measureTime ? make_slices::formatSeconds(slice.seconds)
                                                        : std::string(fixedElapsed);
        const auto failure =
            make_slices::writeReport(file, make_slices::reportText(slice, elapsed));
        return !failure || reportFailure(file, *failure);
      });
  const auto failure = make_slices::syncFolder(folder);
  return (!failure || reportFailure(folder, *failure)) && written;
}

bool makeFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::cerr << "make-slices: cannot create '" << folder << "': " << error.message() << "\n";
    return false;
  }
  return true;
}

int runProgram(int argc, char** argv) {
  gapmerge::endWhenMemoryRunsOut();
  if (!gapmerge::openClosedStandardStreams()) {
    std::cerr << "make-slices: cannot open /dev/null for a closed standard stream\n";
    return exitFailed;
  }
  gapmerge::removeTemporaryFilesOnSignals();
  const auto options = make_slices::parseOptions(argc, argv);
  switch (options.command) {
    case make_slices::Command::help:
      std::cout << make_slices::helpText();
      return exitWritten;
    case make_slices::Command::version:
      std::cout << "make-slices " << MAKE_SLICES_VERSION << "\n";
      return exitWritten;
    case make_slices::Command::usageError:
      std::cerr << "make-slices: " << options.error << "\n"
                << "Try 'make-slices --help' for more information.\n";
      return exitUsage;
    case make_slices::Command::generate:
      break;
  }
  if (!makeFolder(options.out) || !writeReports(options)) {
    return exitFailed;
  }
  return exitWritten;
}

}  // namespace

int main(int argc, char** argv) {
  return gapmerge::runOrEnd([&] { return runProgram(argc, argv); });
}
