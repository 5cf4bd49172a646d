#include "merge/report_reader.hpp"

#include <pthread.h>

#include <algorithm>
#include <system_error>
#include <utility>

#include "text/resource_failure.hpp"

namespace gapmerge {

namespace {

// Reports of one batch: enough that a hand-over costs little, few enough that
// the workers are busy from the first reports of a run to its last ones.
constexpr std::size_t batchReports = 32;

}  // namespace

ReportReader::ReportReader(const ReportList& reports, unsigned threads,
                           std::function<bool(std::size_t)> keepItems)
    : reports_(reports),
      keepItems_(std::move(keepItems)),
      batchCount_((reports.size() + batchReports - 1) / batchReports),
      ring_(2 * std::size_t{threads} + 2) {
  startThreads(threads);
}

ReportReader::~ReportReader() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (auto& worker : workers_) {
    worker.join();
  }
}

void ReportReader::startThreads(unsigned threads) {
  try {
    for (unsigned k = 0; k < threads; ++k) {
      workers_.emplace_back([this] { runOrEnd([this] { readBatches(); }); });
    }
  } catch (const std::system_error&) {
    // The run goes on with the threads that did start.
  }
}

ReportReading& ReportReader::take(std::size_t i) {
  const std::size_t number = i / batchReports;
  Batch& batch = ring_[number % ring_.size()];
  if (i % batchReports == 0 && number > 0) {
    release(number - 1);
  }
  if (workers_.empty()) {
    if (i % batchReports == 0) {
      readBatch(number, batch);
    }
  } else {
    // A worker fills the slot without the lock and sets read under it when
    // done; read is tested first, so first is only looked at once the
    // worker's writes are visible here.
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return batch.read && batch.first == number * batchReports; });
  }
  return batch.readings[i % batchReports];
}

// A batch whose readings were all taken frees its slot for a later batch.
void ReportReader::release(std::size_t number) {
  {
    const std::lock_guard lock(mutex_);
    ring_[number % ring_.size()].read = false;
    released_ = number + 1;
  }
  changed_.notify_all();
}

void ReportReader::readBatches() {
  ::pthread_setname_np(::pthread_self(), "read reports");
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] {
      return stopping_ || nextToRead_ == batchCount_ || nextToRead_ < released_ + ring_.size();
    });
    if (stopping_ || nextToRead_ == batchCount_) {
      return;
    }
    const std::size_t number = nextToRead_++;
    Batch& batch = ring_[number % ring_.size()];
    lock.unlock();
    readBatch(number, batch);
    lock.lock();
    batch.read = true;
    changed_.notify_all();
  }
}

void ReportReader::readBatch(std::size_t number, Batch& batch) const {
  batch.first = number * batchReports;
  const std::size_t count = std::min(batchReports, reports_.size() - batch.first);
  batch.readings.resize(count);
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t report = batch.first + k;
    readReport(reports_.path(report), batch.readings[k], keepItems_(report));
  }
}

}  // namespace gapmerge
