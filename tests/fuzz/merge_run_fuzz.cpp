// Fuzzes a whole merge run. The input is cut at every 0x01 byte into one to
// four reports; each piece's first line names the report, the remainder is
// its contents. A first line "folder/rest" puts the report "Tramvelok" + rest
// into a subfolder, any other first line is the rest of a name directly in
// the scratch folder. The run merges them in a scratch folder under /dev/shm
// (in range order when the input's length is odd) through a view that only
// records, and ends with a merged file whose last text is the summary.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "app/result_text.hpp"
#include "app/result_view.hpp"
#include "app/run.hpp"
#include "merge/gap_stats.hpp"
#include "merge/sections.hpp"

namespace {

namespace fs = std::filesystem;

class RecordingView final : public gapmerge::ResultView {
 public:
  bool open() override { return true; }
  void askOpen(const std::string& mergedFilePath, const std::string& /*folder*/) override {
    askedPath = mergedFilePath;
  }
  void fill(const gapmerge::RunOutcome& shown) override { outcome = shown; }
  void wait() override {}

  std::string askedPath;
  gapmerge::RunOutcome outcome;
};

// The bytes with every "/" and NUL made "_".
std::string asName(std::string_view bytes) {
  std::string name(bytes.substr(0, 100));
  for (char& c : name) {
    c = c == '/' || c == '\0' ? '_' : c;
  }
  return name;
}

// Writes one piece of the input as a report below scratch. A report whose
// folder is taken by a file goes into scratch itself; one whose name is taken
// gets "#" and its number appended.
void writeReport(const fs::path& scratch, std::string_view piece, std::size_t number) {
  const std::size_t lineEnd = piece.find('\n');
  std::string_view nameLine = piece.substr(0, std::min<std::size_t>(lineEnd, 100));
  const std::size_t slash = nameLine.find('/');
  fs::path folder = scratch;
  if (slash != std::string_view::npos) {
    const std::string sub = asName(nameLine.substr(0, slash));
    nameLine.remove_prefix(slash + 1);
    if (sub != "." && sub != ".." &&
        !(fs::exists(scratch / sub) && !fs::is_directory(scratch / sub))) {
      folder /= sub;
    }
  }
  fs::create_directories(folder);
  fs::path file = folder / ("Tramvelok" + asName(nameLine));
  if (fs::exists(file)) {
    file += "#" + std::to_string(number);
  }
  const std::string_view contents =
      lineEnd == std::string_view::npos ? std::string_view() : piece.substr(lineEnd + 1);
  std::ofstream(file, std::ios::binary)
      .write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fs::path home = fs::current_path();
  // Removed before the next input: libFuzzer ends without static destructors.
  const fs::path scratch = "/dev/shm/gapmerge-merge-run-fuzz-" + std::to_string(::getpid());
  fs::remove_all(scratch);
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (std::size_t number = 0; number < 4; ++number) {
    const std::size_t cut = number == 3 ? std::string_view::npos : bytes.find('\x01');
    writeReport(scratch, bytes.substr(0, cut), number);
    if (cut == std::string_view::npos) {
      break;
    }
    bytes.remove_prefix(cut + 1);
  }
  fs::current_path(scratch);
  RecordingView view;
  const std::string folder = fs::canonical(scratch).string() + "/";
  const auto status = gapmerge::runMerge(
      view, gapmerge::RunOptions{.directory = folder, .rangeOrder = size % 2 == 1});
  fs::current_path(home);
  std::ifstream in(scratch / "fileout.txt", std::ios::binary);
  const std::string merged{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  gapmerge::StatsBlock block;
  gapmerge::finalSeries(view.outcome.histogram, block);
  const std::string summary = gapmerge::closingSummary(block);
  const std::string text = gapmerge::resultText(view.outcome);
  if (status != gapmerge::RunStatus::merged || view.askedPath != folder + "fileout.txt" ||
      text.find("\nOutputDirectory : " + folder + "\n") == std::string::npos ||
      !merged.ends_with(summary + "\r\n") || text.find('\r') != std::string::npos) {
    std::abort();
  }
  fs::remove_all(scratch);
  return 0;
}
