// Fuzzes a whole merge run. The input is cut at every 0x01 byte into one to
// four reports; each piece's first line names the report, the remainder is
// its contents. A first line "folder/rest" puts the report "Tramvelok" + rest
// into a subfolder, any other first line is the rest of a name directly in
// the scratch folder. The reports go into a scratch folder under /dev/shm, the
// run merges them there (in range order when the input's length is odd)
// through a view that only records, and the merged file and the recorded text
// are checked.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/result_view.hpp"
#include "app/run.hpp"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t maxReports = 4;
constexpr std::size_t maxNameSize = 100;
constexpr char reportCut = '\x01';

struct Report {
  std::string folder;  // "" for the scratch folder itself
  std::string name;
  std::string_view contents;
};

class RecordingView final : public gapmerge::ResultView {
 public:
  bool open() override {
    ++calls;
    return true;
  }
  void askOpen(const std::string& mergedFilePath, const std::string& workingDirectory) override {
    ++calls;
    askedPath = mergedFilePath;
    askedFolder = workingDirectory;
  }
  void fill(const gapmerge::ViewText& shown) override {
    ++calls;
    text = shown;
    joined = gapmerge::joinViewText(shown);
  }
  void wait() override { ++calls; }

  int calls = 0;
  std::string askedPath;
  std::string askedFolder;
  gapmerge::ViewText text;
  std::string joined;
};

// The folder the reports of one input are merged in, removed with its
// contents when the input is done (libFuzzer ends the process without running
// static destructors, so nothing may outlive one input).
class ScratchFolder {
 public:
  ScratchFolder()
      : path_(fs::path("/dev/shm") / ("gapmerge-merge-run-fuzz-" + std::to_string(::getpid()))) {
    fs::create_directories(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ScratchFolder(ScratchFolder&&) = delete;
  ScratchFolder& operator=(ScratchFolder&&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }

  [[nodiscard]] const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The bytes with every "/" and NUL made "_".
std::string sanitized(std::string_view bytes) {
  std::string text(bytes);
  for (char& c : text) {
    if (c == '/' || c == '\0') {
      c = '_';
    }
  }
  return text;
}

Report makeReport(std::string_view nameLine) {
  nameLine = nameLine.substr(0, maxNameSize);
  Report report;
  const std::size_t slash = nameLine.find('/');
  if (slash != std::string_view::npos) {
    report.folder = sanitized(nameLine.substr(0, slash));
    nameLine.remove_prefix(slash + 1);
  }
  if (report.folder == "." || report.folder == "..") {
    report.folder.clear();
  }
  report.name = "Tramvelok" + sanitized(nameLine);
  return report;
}

std::vector<Report> cutReports(std::string_view bytes) {
  std::vector<Report> reports;
  while (reports.size() < maxReports) {
    const std::size_t cut =
        reports.size() + 1 == maxReports ? std::string_view::npos : bytes.find(reportCut);
    const std::string_view piece = bytes.substr(0, cut);
    const std::size_t lineEnd = piece.find('\n');
    Report report = makeReport(piece.substr(0, lineEnd));
    if (lineEnd != std::string_view::npos) {
      report.contents = piece.substr(lineEnd + 1);
    }
    reports.push_back(report);
    if (cut == std::string_view::npos) {
      break;
    }
    bytes.remove_prefix(cut + 1);
  }
  return reports;
}

// A report whose folder is taken by a file goes into the scratch folder; one
// whose name is taken gets "#" and its number appended.
void writeReports(const fs::path& scratch, const std::vector<Report>& reports) {
  for (std::size_t i = 0; i < reports.size(); ++i) {
    fs::path folder = scratch / reports[i].folder;
    if (fs::exists(folder) && !fs::is_directory(folder)) {
      folder = scratch;
    }
    fs::create_directories(folder);
    fs::path file = folder / reports[i].name;
    if (fs::exists(file)) {
      file += "#" + std::to_string(i);
    }
    std::ofstream out(file, std::ios::binary);
    out.write(reports[i].contents.data(), static_cast<std::streamsize>(reports[i].contents.size()));
  }
}

std::string readWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The summary ends with "nGaps : " and the histogram total, and it is the
// last text of the merged file.
void checkMergedFile(const std::string& merged, const std::string& summary) {
  const std::size_t at = summary.rfind("\r\n\r\nnGaps : ");
  if (at == std::string::npos) {
    std::abort();
  }
  std::string_view total = std::string_view(summary).substr(at + 12);
  if (total.starts_with('-')) {
    total.remove_prefix(1);
  }
  if (total.empty() || total.find_first_not_of("0123456789") != std::string_view::npos) {
    std::abort();
  }
  if (!merged.ends_with(summary + "\r\n")) {
    std::abort();
  }
}

void checkView(const RecordingView& view, const std::string& folder) {
  if (view.calls != 4 || view.askedFolder != folder || view.askedPath != folder + "fileout.txt") {
    std::abort();
  }
  // The report name is the text after the last "/" or "\", and a report's
  // file name may hold a "\": the name shown need not begin with Tramvelok.
  if (!view.text.fileItem.starts_with("FileName : ") ||
      !view.text.fileItem.ends_with("\r\nOutputDirectory : " + folder)) {
    std::abort();
  }
  if (!view.text.warnings.empty() && !view.text.warnings.ends_with("\r\n")) {
    std::abort();
  }
  if (view.joined.find('\r') != std::string::npos) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fs::path home = fs::current_path();
  const ScratchFolder scratch;
  writeReports(scratch.path(), cutReports({reinterpret_cast<const char*>(data), size}));
  fs::current_path(scratch.path());
  RecordingView view;
  const auto status = gapmerge::runMerge(view, gapmerge::RunOptions{.rangeOrder = size % 2 == 1});
  const std::string folder = fs::canonical(fs::current_path()).string() + "/";
  fs::current_path(home);
  if (status != gapmerge::RunStatus::merged) {
    std::abort();
  }
  checkView(view, folder);
  checkMergedFile(readWhole(scratch.path() / "fileout.txt"), view.text.summary);
  return 0;
}
