#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "merge/discovery.hpp"
#include "merge/report.hpp"

// Reads the reports of a list on worker threads, ahead of the run, and hands
// the readings over in report order. A report is read on its own (merge/
// report.hpp); only applying the readings, one after the other, joins them.
// Reports are read in batches, and a few batches are held at most, so memory
// does not grow with the number of reports. Threads that cannot be started
// are done without; with none, the caller reads.
namespace gapmerge {

class ReportReader {
 public:
  // keepItems(i) tells whether report i keeps its table items.
  ReportReader(const ReportList& reports, unsigned threads,
               std::function<bool(std::size_t)> keepItems);
  ReportReader(const ReportReader&) = delete;
  ReportReader& operator=(const ReportReader&) = delete;
  ReportReader(ReportReader&&) = delete;
  ReportReader& operator=(ReportReader&&) = delete;
  ~ReportReader();

  // The reading of report i, waiting for it. Reports are taken in order, from
  // 0 up; the reading stays valid until the next call.
  ReportReading& take(std::size_t i);

 private:
  struct Batch {
    std::vector<ReportReading> readings;
    std::size_t first = 0;  // the report of readings[0]
    bool read = false;
  };

  void startThreads(unsigned threads);
  void readBatches();
  void readBatch(std::size_t number, Batch& batch) const;
  void release(std::size_t number);

  const ReportList& reports_;
  std::function<bool(std::size_t)> keepItems_;
  std::size_t batchCount_;
  std::vector<Batch> ring_;
  std::size_t nextToRead_ = 0;  // the next batch a worker takes
  std::size_t released_ = 0;    // batches taken whole; their slots are free
  bool stopping_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> workers_;
};

}  // namespace gapmerge
