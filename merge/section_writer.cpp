#include "merge/section_writer.hpp"

#include <pthread.h>

#include <system_error>
#include <utility>

#include "text/resource_failure.hpp"

namespace gapmerge {

namespace {

// A batch is passed on once its text will be about this long: large enough
// that hand-offs cost little, small enough that a few batches fit in cache.
constexpr std::size_t batchBytes = std::size_t{1} << 20;

// About how many bytes the sections of a report with this many distinct gap
// sizes take: some fixed lines and six lists of items.
std::size_t estimatedSectionBytes(const StatsBlock& block) {
  constexpr std::size_t fixedBytes = 700;
  constexpr std::size_t bytesPerGap = 112;
  return fixedBytes + bytesPerGap * block.counts.size();
}

}  // namespace

SectionWriter::SectionWriter(TextFile file, SectionFormat format, unsigned threads)
    : file_(std::move(file)), format_(format), ring_(2 * std::size_t{threads} + 2) {
  startThreads(threads);
}

void SectionWriter::startThreads(unsigned threads) {
  try {
    writer_ = std::thread([this] { runOrEnd([this] { writeBatches(); }); });
    for (unsigned i = 0; i < threads; ++i) {
      formatters_.emplace_back([this] { runOrEnd([this] { formatBatches(); }); });
    }
  } catch (const std::system_error&) {
    // The run goes on with the threads that did start.
  }
}

SectionWriter::~SectionWriter() {
  finish();
}

void SectionWriter::addReport(std::int64_t fileNmax, const GapStats& stats) {
  Batch& batch = fillingBatch();
  if (batch.used == batch.reports.size()) {
    batch.reports.emplace_back();
  }
  ReportState& report = batch.reports[batch.used++];
  report.fileNmax = fileNmax;
  reportSeries(stats, report.block);
  batch.estimatedBytes += estimatedSectionBytes(report.block);
  if (batch.estimatedBytes >= batchBytes) {
    pass(batch);
  }
}

void SectionWriter::addText(std::string_view text) {
  Batch& batch = fillingBatch();
  batch.tail.append(text);
  pass(batch);
}

int SectionWriter::finish() {
  if (finished_) {
    return error_;
  }
  Batch& batch = fillingBatch();
  if (batch.used > 0 || !batch.tail.empty()) {
    pass(batch);
  }
  {
    const std::lock_guard lock(mutex_);
    finishing_ = true;
  }
  changed_.notify_all();
  for (auto& formatter : formatters_) {
    formatter.join();
  }
  if (writer_.joinable()) {
    writer_.join();
  }
  finished_ = true;
  closeTextFile(file_);
  error_ = file_.error;
  return error_;
}

// The batch being filled, once the writer has given it back.
SectionWriter::Batch& SectionWriter::fillingBatch() {
  Batch& batch = ring_[passed_ % ring_.size()];
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&batch] { return batch.state == BatchState::filling; });
  return batch;
}

void SectionWriter::pass(Batch& batch) {
  if (!writer_.joinable()) {
    formatBatch(batch);
    write(batch);
    return;
  }
  if (formatters_.empty()) {
    formatBatch(batch);
  }
  {
    const std::lock_guard lock(mutex_);
    if (formatters_.empty()) {
      batch.state = BatchState::formatted;
    } else {
      batch.state = BatchState::queued;
      toFormat_.push_back(passed_);
    }
    ++passed_;
  }
  changed_.notify_all();
}

void SectionWriter::formatBatch(Batch& batch) const {
  for (std::size_t i = 0; i < batch.used; ++i) {
    format_(batch.text, batch.reports[i].fileNmax, batch.reports[i].block);
  }
  batch.text.append(batch.tail);
}

void SectionWriter::formatBatches() {
  ::pthread_setname_np(::pthread_self(), "format sections");
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !toFormat_.empty() || finishing_; });
    if (toFormat_.empty()) {
      return;
    }
    Batch& batch = ring_[toFormat_.front() % ring_.size()];
    toFormat_.pop_front();
    lock.unlock();
    formatBatch(batch);
    lock.lock();
    batch.state = BatchState::formatted;
    changed_.notify_all();
  }
}

void SectionWriter::writeBatches() {
  ::pthread_setname_np(::pthread_self(), "write fileout");
  std::unique_lock lock(mutex_);
  for (;;) {
    Batch& batch = ring_[written_ % ring_.size()];
    changed_.wait(lock, [this, &batch] {
      return (written_ < passed_ && batch.state == BatchState::formatted) ||
             (finishing_ && written_ == passed_);
    });
    if (written_ == passed_) {
      return;
    }
    lock.unlock();
    write(batch);
    lock.lock();
    batch.state = BatchState::filling;
    ++written_;
    changed_.notify_all();
  }
}

// Writes a formatted batch and empties it for the next reports.
void SectionWriter::write(Batch& batch) {
  writeText(file_, batch.text);
  bytesWritten_ += batch.text.size();
  batch.text.clear();
  batch.tail.clear();
  batch.used = 0;
  batch.estimatedBytes = 0;
}

}  // namespace gapmerge
