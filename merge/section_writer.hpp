#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "merge/gap_stats.hpp"
#include "text/text_file.hpp"

// Writes the merged file's sections: the state that a report's sections need
// (its upper bound and the counters after it) is copied when the report is
// done, copies are gathered in batches, batches are formatted on worker
// threads, and one more thread writes the formatted batches in report order.
// The run goes on with the next reports meanwhile; a few batches are held at
// most, so memory does not grow with the number of reports. Threads that
// cannot be started are done without: with no formatting thread the batches
// are formatted by the caller, with no writing thread also written by it.
namespace gapmerge {

// Appends the sections after one report to text: they are headed by its
// upper bound and list the counters after it.
using SectionFormat = void (*)(std::string& text, std::int64_t fileNmax, const StatsBlock& block);

class SectionWriter {
 public:
  // Writes into file, formatted by format on the given number of threads (at
  // least 1).
  SectionWriter(TextFile file, SectionFormat format, unsigned threads);
  SectionWriter(const SectionWriter&) = delete;
  SectionWriter& operator=(const SectionWriter&) = delete;
  SectionWriter(SectionWriter&&) = delete;
  SectionWriter& operator=(SectionWriter&&) = delete;
  ~SectionWriter();

  // Queues the sections after one report.
  void addReport(std::int64_t fileNmax, const GapStats& stats);

  // Queues text to follow everything queued so far, and passes it on.
  void addText(std::string_view text);

  // Writes everything queued, stops the threads and closes the file; 0 when
  // every byte reached the file, else the errno of the failure. Later calls
  // return the same answer.
  int finish();

  // Bytes handed to the file so far.
  [[nodiscard]] std::uint64_t bytesWritten() const { return bytesWritten_.load(); }

 private:
  struct ReportState {
    std::int64_t fileNmax = 0;
    StatsBlock block;
  };
  enum class BatchState { filling, queued, formatted };
  struct Batch {
    std::vector<ReportState> reports;  // the first `used` belong to this batch
    std::size_t used = 0;
    std::size_t estimatedBytes = 0;
    std::string tail;  // text after the reports' sections
    std::string text;  // the formatted batch
    BatchState state = BatchState::filling;
  };

  void startThreads(unsigned threads);
  Batch& fillingBatch();
  void pass(Batch& batch);
  void formatBatches();
  void writeBatches();
  void write(Batch& batch);
  void formatBatch(Batch& batch) const;

  TextFile file_;
  SectionFormat format_;
  std::vector<Batch> ring_;
  std::uint64_t passed_ = 0;   // batches passed on; ring_[passed_ % size] is being filled
  std::uint64_t written_ = 0;  // batches written
  std::deque<std::uint64_t> toFormat_;
  bool finishing_ = false;
  bool finished_ = false;
  int error_ = 0;
  std::atomic<std::uint64_t> bytesWritten_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> formatters_;
  std::thread writer_;
};

}  // namespace gapmerge
