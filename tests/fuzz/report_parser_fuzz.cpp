// Fuzzes the report parser on whole files read through openTextFile and
// readLine, then runs the checks on what it read. The input is written to one
// memory file per process, reached through its /proc/self/fd path.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "merge/checks.hpp"
#include "merge/gap_stats.hpp"
#include "merge/report.hpp"
#include "text/text_file.hpp"

namespace {

int reportFd() {
  static const int fd = ::memfd_create("report", MFD_CLOEXEC);
  if (fd < 0) {
    std::abort();
  }
  return fd;
}

void rewriteReport(std::string_view bytes) {
  const int fd = reportFd();
  if (::ftruncate(fd, 0) != 0) {
    std::abort();
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put =
        ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (put <= 0) {
      std::abort();
    }
    done += static_cast<std::size_t>(put);
  }
}

// The checks see the bounds the report states as the bounds of its name.
void checkWhatWasRead(gapmerge::ReportRecord& record) {
  record.fileNmin = record.nmin;
  record.fileNmax = record.nmax;
  std::string warnings;
  gapmerge::checkReport(record, "Tramvelok", warnings);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  rewriteReport({reinterpret_cast<const char*>(data), size});
  gapmerge::TextFile file = gapmerge::openTextFile("/proc/self/fd/" + std::to_string(reportFd()));
  if (!file.isOpen()) {
    std::abort();
  }
  gapmerge::ReportRecord record;
  gapmerge::GapStats stats;
  gapmerge::parseReport(file, record, stats);
  if (!gapmerge::atEnd(file)) {
    std::abort();
  }
  checkWhatWasRead(record);
  return 0;
}
