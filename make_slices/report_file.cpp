#include "make_slices/report_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "text/whole_file.hpp"

namespace make_slices {

namespace {

constexpr int temporaryNameAttempts = 100;

std::string reasonOf(int error) {
  return std::strerror(error);
}

// Why a report may not take the place of what is at path; nullopt when there
// is nothing there or a regular file.
std::optional<std::string> refusalOf(const std::filesystem::path& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) {
    return errno == ENOENT ? std::nullopt : std::optional(reasonOf(errno));
  }
  if (S_ISLNK(status.st_mode)) {
    return "it is a symbolic link";
  }
  if (!S_ISREG(status.st_mode)) {
    return "it is not a regular file";
  }
  return std::nullopt;
}

// Creates a new file ".make-slices.<pid>.<n>.tmp" in folder; its descriptor
// and path, or -1 with errno set.
int createTemporary(const std::filesystem::path& folder, std::filesystem::path& temporary) {
  const std::string stem = ".make-slices." + std::to_string(::getpid()) + ".";
  for (int attempt = 0; attempt < temporaryNameAttempts; ++attempt) {
    temporary = folder / (stem + std::to_string(attempt) + ".tmp");
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) {
      return fd;
    }
  }
  return -1;
}

// Writes every byte, syncs and closes; 0, or the errno of the first failure.
int writeSyncAndClose(int fd, std::string_view bytes) {
  int error = 0;
  while (!bytes.empty() && error == 0) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written >= 0) {
      bytes.remove_prefix(static_cast<std::size_t>(written));
    } else if (errno != EINTR) {
      error = errno;
    }
  }
  if (error == 0 && ::fsync(fd) != 0) {
    error = errno;
  }
  if (::close(fd) != 0 && error == 0) {
    error = errno;
  }
  return error;
}

}  // namespace

std::optional<std::string> writeReport(const std::filesystem::path& path, std::string_view text) {
  std::filesystem::path temporary;
  const int fd = createTemporary(path.parent_path(), temporary);
  if (fd < 0) {
    return reasonOf(errno);
  }
  const int slot = gapmerge::noteTemporaryFile(temporary);
  std::optional<std::string> reason;
  if (const int error = writeSyncAndClose(fd, text); error != 0) {
    reason = reasonOf(error);
  } else if (reason = refusalOf(path); !reason && ::rename(temporary.c_str(), path.c_str()) != 0) {
    reason = reasonOf(errno);
  }
  if (reason) {
    ::unlink(temporary.c_str());
  }
  gapmerge::forgetTemporaryFile(slot);
  return reason;
}

std::optional<std::string> syncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    return reasonOf(errno);
  }
  // EINVAL: the file system cannot sync a folder, and keeps its entries so.
  const int error = ::fsync(fd) != 0 && errno != EINVAL ? errno : 0;
  ::close(fd);
  return error == 0 ? std::nullopt : std::optional(reasonOf(error));
}

}  // namespace make_slices
