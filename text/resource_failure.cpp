#include "text/resource_failure.hpp"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <new>
#include <string_view>

#include "text/whole_file.hpp"

namespace gapmerge {

namespace {

void writeError(std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace

void endForLackOf(const char* what) {
  // Threads that run out together: the first one ends the process, the
  // others wait for that, so that one line is written.
  static std::atomic_flag ending;
  if (ending.test_and_set()) {
    for (;;) {
      ::pause();
    }
  }
  removeNotedTemporaryFiles();
  writeError(program_invocation_short_name);
  writeError(": ");
  writeError(what);
  writeError("\n");
  ::_exit(1);
}

void endWhenMemoryRunsOut() {
  std::set_new_handler([] { endForLackOf("out of memory"); });
}

}  // namespace gapmerge
