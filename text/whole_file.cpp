#include "text/whole_file.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>

namespace gapmerge {

namespace {

constexpr int temporaryNameAttempts = 100;
constexpr std::size_t longestPath = 4096;

enum SlotState : int { slotFree, slotFilling, slotNoted };

// A signal handler may run on any thread at any moment: it only reads slots
// whose state says that their path is complete, and calls unlink, which is
// safe in a handler.
struct Slot {
  std::atomic<int> state{slotFree};
  std::array<char, longestPath> path{};
};

// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): read by the signal handler
std::array<Slot, temporaryFileSlots> slots;

void removeAndEnd(int signal) {
  removeNotedTemporaryFiles();
  static_cast<void>(std::signal(signal, SIG_DFL));
  static_cast<void>(std::raise(signal));
}

std::string reasonOf(int error) {
  return std::strerror(error);
}

// Writes every byte; 0, or the errno of the write that failed.
int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno != EINTR) {
      return errno;
    }
    if (written > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
  }
  return 0;
}

// Writes, then closes; 0 or the first errno.
int writeAndClose(int fd, std::string_view bytes, bool sync) {
  int error = writeAll(fd, bytes);
  if (error == 0 && sync && ::fsync(fd) != 0) {
    error = errno;
  }
  if (::close(fd) != 0 && error == 0) {
    error = errno;
  }
  return error;
}

bool isDeviceOrPipe(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 &&
         (S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode));
}

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

constexpr std::string_view exportPrefix = ".gapmerge-";
constexpr std::string_view temporarySuffix = ".tmp";

// The process number in a name ".gapmerge-<pid>-<n>.tmp"; 0 for another name.
pid_t writerOf(std::string_view name) {
  if (!name.starts_with(exportPrefix) || !name.ends_with(temporarySuffix)) {
    return 0;
  }
  name.remove_prefix(exportPrefix.size());
  name.remove_suffix(temporarySuffix.size());
  pid_t pid = 0;
  unsigned attempt = 0;
  const char* end = name.data() + name.size();
  const auto [dash, read] = std::from_chars(name.data(), end, pid);
  if (read != std::errc() || dash == end || *dash != '-' ||
      std::from_chars(dash + 1, end, attempt).ptr != end) {
    return 0;
  }
  return pid;
}

// A new file gets the permission bits of the regular file it replaces.
bool keepPermissions(int fd, const std::string& target) {
  struct stat status {};
  return ::lstat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode) ||
         ::fchmod(fd, status.st_mode & 07777) == 0;
}

// Creates a new file beside target with the permission bits it gets; its
// descriptor and path, or -1 with errno set.
int createTemporary(const std::string& target, std::string& temporary) {
  const std::string stem =
      folderOf(target) + std::string(exportPrefix) + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < temporaryNameAttempts; ++attempt) {
    temporary = stem + std::to_string(attempt) + std::string(temporarySuffix);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 && !keepPermissions(fd, target)) {
      const int error = errno;
      ::close(fd);
      ::unlink(temporary.c_str());
      errno = error;
      return -1;
    }
    if (fd >= 0 || errno != EEXIST) {
      return fd;
    }
  }
  return -1;
}

std::optional<std::string> replaceFile(const std::string& target, std::string_view bytes) {
  removeLeftExportTemporaries(folderOf(target));
  std::string temporary;
  const int fd = createTemporary(target, temporary);
  if (fd < 0) {
    return reasonOf(errno);
  }
  const int slot = noteTemporaryFile(temporary);
  int error = writeAndClose(fd, bytes, true);
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    ::unlink(temporary.c_str());
  }
  forgetTemporaryFile(slot);
  return error == 0 ? std::nullopt : std::optional(reasonOf(error));
}

std::optional<std::string> writeInPlace(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  const int error = fd < 0 ? errno : writeAndClose(fd, bytes, false);
  return error == 0 ? std::nullopt : std::optional(reasonOf(error));
}

}  // namespace

std::optional<std::string> writeWholeFile(const std::string& path, std::string_view bytes) {
  if (isDeviceOrPipe(path)) {
    return writeInPlace(path, bytes);
  }
  return replaceFile(path, bytes);
}

std::optional<std::string> writeDescriptor(int fd, std::string_view bytes) {
  const int error = writeAll(fd, bytes);
  return error == 0 ? std::nullopt : std::optional(reasonOf(error));
}

void removeLeftExportTemporaries(const std::string& folder) {
  DIR* listing = ::opendir(folder.empty() ? "." : folder.c_str());
  if (listing == nullptr) {
    return;
  }
  while (const dirent* entry = ::readdir(listing)) {
    const pid_t writer = writerOf(entry->d_name);
    if (writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH) {
      ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
  }
  ::closedir(listing);
}

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

void removeNotedTemporaryFiles() {
  for (Slot& slot : slots) {
    if (slot.state.load() == slotNoted) {
      ::unlink(slot.path.data());
    }
  }
}

void removeTemporaryFilesOnSignals() {
  struct sigaction action {};
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-union-access): sigaction's own union
  action.sa_handler = removeAndEnd;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace gapmerge
