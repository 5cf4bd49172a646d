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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const int fd = ::memfd_create("report", MFD_CLOEXEC);
  if (fd < 0 || ::ftruncate(fd, 0) != 0 ||
      ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
    std::abort();
  }
  gapmerge::ReportReading reading;
  gapmerge::readReport("/proc/self/fd/" + std::to_string(fd), reading, true);
  if (!reading.opened) {
    std::abort();
  }
  gapmerge::ReportRecord record;
  gapmerge::GapStats stats;
  gapmerge::applyReading(reading, record, stats);
  // The checks see the bounds the report states as the bounds of its name.
  record.fileNmin = record.nmin;
  record.fileNmax = record.nmax;
  static_cast<void>(gapmerge::failedChecks(record));
  return 0;
}
