#include "text/text_file.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace gapmerge {

namespace {

// Opens path without blocking (a FIFO never waits for a peer) and keeps it
// only when it is a regular file on which the lock (LOCK_SH or LOCK_EX) can be
// taken at once; -1 otherwise. Reading a regular file never blocks anyway, so
// the descriptor keeps O_NONBLOCK.
int openLocked(const std::string& path, int flags, int lock) {
  const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) {
    return -1;
  }
  struct stat info {};
  const bool usable =
      ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, lock | LOCK_NB) == 0;
  if (!usable) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Refills the read buffer; false at the end of the file or after a read error.
bool fillBuffer(TextFile& file) {
  if (file.fd < 0 || file.failed) {
    return false;
  }
  for (;;) {
    const ssize_t got = ::read(file.fd, file.buffer.data(), file.buffer.size());
    if (got > 0) {
      file.begin = 0;
      file.end = static_cast<std::size_t>(got);
      return true;
    }
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      file.failed = true;
      file.error = errno;
    }
    return false;
  }
}

// Writes bytes straight to the file, retrying short writes; after a failure
// every later write is dropped.
void writeBytes(TextFile& file, std::string_view bytes) {
  while (!bytes.empty() && !file.failed) {
    const ssize_t put = ::write(file.fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) {
      continue;
    }
    if (put <= 0) {
      file.failed = true;
      file.error = put < 0 ? errno : EIO;
      return;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
}

void flushBuffer(TextFile& file) {
  writeBytes(file, {file.buffer.data(), file.end});
  file.end = 0;
}

}  // namespace

TextFile::TextFile(TextFile&& other) noexcept
    : fd(std::exchange(other.fd, -1)),
      writing(other.writing),
      failed(other.failed),
      error(other.error),
      begin(other.begin),
      end(other.end),
      buffer(other.buffer) {}

TextFile& TextFile::operator=(TextFile&& other) noexcept {
  if (this != &other) {
    closeTextFile(*this);
    fd = std::exchange(other.fd, -1);
    writing = other.writing;
    failed = other.failed;
    error = other.error;
    begin = other.begin;
    end = other.end;
    buffer = other.buffer;
  }
  return *this;
}

TextFile::~TextFile() {
  closeTextFile(*this);
}

TextFile openTextFile(const std::string& path) {
  TextFile file;
  file.fd = openLocked(path, O_RDONLY, LOCK_SH);
  return file;
}

TextFile createNewTextFile(const std::string& path, unsigned mode) {
  TextFile file;
  file.fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
  file.writing = true;
  return file;
}

bool atEnd(TextFile& file) {
  return file.begin == file.end && !fillBuffer(file);
}

bool readLine(TextFile& file, std::string& line) {
  line.clear();
  bool whole = true;
  while (!atEnd(file)) {
    const char* start = file.buffer.data() + file.begin;
    const char* stop = file.buffer.data() + file.end;
    const char* lineEnd =
        std::find_if(start, stop, [](char c) { return c == '\n' || c == '\r' || c == '\0'; });
    const auto room = maxLineLength - line.size();
    const auto length = static_cast<std::size_t>(lineEnd - start);
    line.append(start, std::min(length, room));
    whole = whole && length <= room;
    file.begin = static_cast<std::size_t>(lineEnd - file.buffer.data());
    if (lineEnd == stop) {
      continue;
    }
    ++file.begin;
    if (*lineEnd == '\r' && !atEnd(file) && file.buffer[file.begin] == '\n') {
      ++file.begin;
    }
    break;
  }
  return whole;
}

void writeText(TextFile& file, std::string_view bytes) {
  if (file.fd < 0 || !file.writing) {
    return;
  }
  if (bytes.size() > file.buffer.size() - file.end) {
    flushBuffer(file);
  }
  if (bytes.size() >= file.buffer.size()) {
    writeBytes(file, bytes);
  } else {
    std::memcpy(file.buffer.data() + file.end, bytes.data(), bytes.size());
    file.end += bytes.size();
  }
}

void closeTextFile(TextFile& file) {
  if (file.fd < 0) {
    return;
  }
  if (file.writing) {
    flushBuffer(file);
  }
  const bool closed = ::close(std::exchange(file.fd, -1)) == 0;
  if (!closed && !file.failed) {
    file.failed = true;
    file.error = errno;
  }
  file.begin = file.end = 0;
}

}  // namespace gapmerge
