#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Buffered byte files that read lines with any line end and write bytes.
// A file is locked while it is open (non-blocking advisory locks): shared for
// reading, so readers never shut each other out, and exclusive for writing. A
// handle whose open failed does nothing: it reads as an empty file and drops
// every write.
namespace gapmerge {

constexpr std::size_t textFileBufferSize = 4096;

// The longest line readLine keeps: a longer line is cut there and the rest of
// it skipped, so that a damaged file of one huge line cannot take all memory.
constexpr std::size_t maxLineLength = std::size_t{64} << 20U;

struct TextFile {
  TextFile() = default;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  TextFile(TextFile&& other) noexcept;
  TextFile& operator=(TextFile&& other) noexcept;
  ~TextFile();

  [[nodiscard]] bool isOpen() const { return fd >= 0; }

  int fd = -1;
  bool writing = false;
  bool failed = false;    // a read or write error: nothing more is read or written
  int error = 0;          // the errno of that error
  std::size_t begin = 0;  // reading: next unread byte of buffer
  std::size_t end = 0;    // reading: end of the bytes read; writing: bytes waiting
  std::array<char, textFileBufferSize> buffer{};
};

// Opens an existing regular file for reading; never blocks. The result is not
// open when the file is missing, not a regular file, or held for writing by
// another process.
TextFile openTextFile(const std::string& path);

// Creates a new file for writing that must not exist yet, with the given
// permission bits (as the umask leaves them); not open when that failed, with
// errno set.
TextFile createNewTextFile(const std::string& path, unsigned mode);

// True when no further byte can be read.
bool atEnd(TextFile& file);

// The next line without its end (LF, CR, CR LF or NUL) into `line`; "" at the
// end. False when the line was longer than maxLineLength: `line` then holds its
// first maxLineLength bytes and the rest of it was skipped.
bool readLine(TextFile& file, std::string& line);

// Writes bytes as they stand.
void writeText(TextFile& file, std::string_view bytes);

// Writes out the buffer and closes; a write or the close that failed is kept
// in the file's error.
void closeTextFile(TextFile& file);

}  // namespace gapmerge
