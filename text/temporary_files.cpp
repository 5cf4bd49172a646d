#include "text/temporary_files.hpp"

#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>

namespace gapmerge {

namespace {

constexpr std::size_t longestPath = 4096;

enum SlotState : int { slotFree, slotFilling, slotNoted };

// A signal handler may run on any thread at any moment: it only reads slots
// whose state says that their path is complete, and calls unlink, which is
// safe in a handler.
struct Slot {
  std::atomic<int> state{slotFree};
  std::array<char, longestPath> path{};
};

std::array<Slot, temporaryFileSlots> slots;

void removeAndEnd(int signal) {
  for (Slot& slot : slots) {
    if (slot.state.load() == slotNoted) {
      ::unlink(slot.path.data());
    }
  }
  static_cast<void>(std::signal(signal, SIG_DFL));
  static_cast<void>(std::raise(signal));
}

}  // namespace

int noteTemporaryFile(const std::string& path) {
  if (path.size() >= longestPath) {
    return -1;
  }
  for (int k = 0; k < temporaryFileSlots; ++k) {
    Slot& slot = slots[static_cast<std::size_t>(k)];
    int expected = slotFree;
    if (slot.state.compare_exchange_strong(expected, slotFilling)) {
      std::memcpy(slot.path.data(), path.c_str(), path.size() + 1);
      slot.state.store(slotNoted);
      return k;
    }
  }
  return -1;
}

void forgetTemporaryFile(int slot) {
  if (slot >= 0 && slot < temporaryFileSlots) {
    slots[static_cast<std::size_t>(slot)].state.store(slotFree);
  }
}

void removeTemporaryFilesOnSignals() {
  struct sigaction action {};
  action.sa_handler = removeAndEnd;  // NOLINT(cppcoreguidelines-pro-type-union-access)
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace gapmerge
