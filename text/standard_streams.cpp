#include "text/standard_streams.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace gapmerge {

bool openClosedStandardStreams() {
  for (int descriptor = STDIN_FILENO; descriptor <= STDERR_FILENO; ++descriptor) {
    if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) {
      continue;
    }
    // The lowest free number is this one: those below it are open by now.
    const int opened = ::open("/dev/null", O_RDWR);
    if (opened != descriptor) {
      if (opened >= 0) {
        ::close(opened);
      }
      return false;
    }
  }
  return true;
}

}  // namespace gapmerge
