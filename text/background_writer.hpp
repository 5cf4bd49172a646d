#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "text/text_file.hpp"

// Writes to a text file from a second thread: text is gathered in a block,
// and a full block is handed to the thread, so that composing the next block
// and copying the last one into the file overlap. At most two blocks are held,
// the one being filled and the one being written; the bytes reach the file in
// the order they were given.
namespace gapmerge {

class BackgroundWriter {
 public:
  static constexpr std::size_t blockSize = std::size_t{1} << 20;

  // Writes into file, which must stay open until finish() has returned.
  explicit BackgroundWriter(TextFile& file);
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;
  BackgroundWriter(BackgroundWriter&&) = delete;
  BackgroundWriter& operator=(BackgroundWriter&&) = delete;
  ~BackgroundWriter();

  // The block being filled; append to it, then call handOver().
  std::string& block() { return filling_; }

  // Passes the block on when it holds blockSize bytes or more.
  void handOver();

  // Writes what is left and stops the thread. Idempotent.
  void finish();

 private:
  void pass();
  void writeBlocks();

  TextFile& file_;
  std::string filling_;
  std::string writing_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool blockWaiting_ = false;  // writing_ holds bytes the thread has not written yet
  bool finishing_ = false;
  std::thread thread_;
};

// Appends text and CR LF to the block, handing it over when it is full.
void appendLine(BackgroundWriter& writer, std::string_view text);

}  // namespace gapmerge
