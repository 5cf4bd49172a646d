#include "text/background_writer.hpp"

namespace gapmerge {

BackgroundWriter::BackgroundWriter(TextFile& file)
    : file_(file), thread_([this] { writeBlocks(); }) {
  filling_.reserve(2 * blockSize);
}

BackgroundWriter::~BackgroundWriter() {
  finish();
}

void BackgroundWriter::handOver() {
  if (filling_.size() >= blockSize) {
    pass();
  }
}

void BackgroundWriter::finish() {
  if (!thread_.joinable()) {
    return;
  }
  if (!filling_.empty()) {
    pass();
  }
  {
    const std::lock_guard lock(mutex_);
    finishing_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

// Waits until the thread has written the previous block, then gives it this one.
void BackgroundWriter::pass() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !blockWaiting_; });
    filling_.swap(writing_);
    blockWaiting_ = true;
  }
  changed_.notify_all();
  filling_.clear();
}

void BackgroundWriter::writeBlocks() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return blockWaiting_ || finishing_; });
    if (!blockWaiting_) {
      return;
    }
    lock.unlock();
    writeText(file_, writing_);
    lock.lock();
    blockWaiting_ = false;
    changed_.notify_all();
  }
}

void appendLine(BackgroundWriter& writer, std::string_view text) {
  writer.block().append(text).append("\r\n");
  writer.handOver();
}

}  // namespace gapmerge
