// Fuzzes the report parser on whole files read through openTextFile and
// readLine, then runs the checks on what it read. The input is written to one
// memory file per process, reached through its /proc/self/fd path.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "merge/checks.hpp"
#include "merge/gap_stats.hpp"
#include "merge/report.hpp"
#include "text/text_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const int fd = ::memfd_create("report", MFD_CLOEXEC);
  if (fd < 0 || ::ftruncate(fd, 0) != 0 ||
      ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
    std::abort();
  }
  gapmerge::TextFile file = gapmerge::openTextFile("/proc/self/fd/" + std::to_string(fd));
  if (!file.isOpen()) {
    std::abort();
  }
  gapmerge::ReportRecord record;
  gapmerge::GapStats stats;
  gapmerge::parseReport(file, record, stats);
  if (!gapmerge::atEnd(file)) {
    std::abort();
  }
  // The checks see the bounds the report states as the bounds of its name.
  record.fileNmin = record.nmin;
  record.fileNmax = record.nmax;
  std::vector<gapmerge::WarningEntry> warnings;
  gapmerge::checkReport(record, "Tramvelok", warnings);
  return 0;
}
