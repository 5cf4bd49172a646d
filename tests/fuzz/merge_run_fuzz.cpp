// Fuzzes a whole merge run. The input is cut at every 0x01 byte into one to
// four reports; each piece's first line is the rest of the report's name
// after "Tramvelok", the remainder its contents. The run merges them in a
// scratch folder under /dev/shm (in range order when the input's length is
// odd) and must end with a complete merged file whose last text is the
// summary, and a result text with LF line ends only.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "app/run.hpp"
#include "merge/discovery.hpp"
#include "render/merged_file_text.hpp"
#include "render/result_text.hpp"

namespace {

namespace fs = std::filesystem;

// Writes one piece of the input as a report; a name taken already gets "#"
// and the piece's number appended. "/" and NUL in names become "_".
void writeReport(const fs::path& scratch, std::string_view piece, std::size_t number) {
  const std::size_t lineEnd = piece.find('\n');
  std::string name =
      "Tramvelok" + std::string(piece.substr(0, std::min<std::size_t>(lineEnd, 100)));
  for (char& c : name) {
    c = c == '/' || c == '\0' ? '_' : c;
  }
  fs::path file = scratch / name;
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
  // Removed before the next input: libFuzzer ends without static destructors.
  const fs::path scratch = "/dev/shm/gapmerge-merge-run-fuzz-" + std::to_string(::getpid());
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (std::size_t number = 0; number < 4; ++number) {
    const std::size_t cut = number == 3 ? std::string_view::npos : bytes.find('\x01');
    writeReport(scratch, bytes.substr(0, cut), number);
    if (cut == std::string_view::npos) {
      break;
    }
    bytes.remove_prefix(cut + 1);
  }
  const std::string folder = fs::canonical(scratch).string() + "/";
  gapmerge::RunOptions options;
  options.directory = folder;
  options.rangeOrder = size % 2 == 1;
  options.threads = 2;
  options.countLimit = 1'000'000;  // the prime count of a range stays quick
  const auto outcome = gapmerge::mergeReports(options, gapmerge::findReports(folder));
  std::ifstream in(scratch / "fileout.txt", std::ios::binary);
  const std::string merged{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const gapmerge::StatsBlock& block = outcome.finalBlock;
  const std::string text = gapmerge::resultText(outcome);
  if (!outcome.mergedFile.complete || outcome.mergedFile.path != folder + "fileout.txt" ||
      text.find("\nOutputDirectory : " + folder + "\n") == std::string::npos ||
      !merged.ends_with(gapmerge::closingSummary(block, "\r\n") + "\r\n") ||
      text.find('\r') != std::string::npos) {
    std::abort();
  }
  fs::remove_all(scratch);
  return 0;
}
