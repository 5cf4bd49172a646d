#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "app/run.hpp"

// The progress of a batch run on standard error: reports merged of the
// total, megabytes written, the rate and the time left.
namespace gapmerge {

enum class ProgressStyle {
  inPlace,  // one line redrawn in place, cleared at the end (a terminal)
  lines,    // a plain line about every second and one at the end (logs and pipes)
};

// The line for progress after `seconds`: reports merged of the total,
// megabytes written, reports verified of those chosen, the rates (counts and
// rates grouped by threes with ".") and the time left.
std::string progressText(const RunProgress& progress, double seconds);

class ProgressLine {
 public:
  ProgressLine(std::ostream& out, ProgressStyle style);

  // Shows progress when enough time has passed since it was last shown.
  void show(const RunProgress& progress);

 private:
  using Clock = std::chrono::steady_clock;

  void print(const RunProgress& progress, Clock::time_point now);

  std::ostream& out_;
  ProgressStyle style_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point shown_ = start_;
  bool drawn_ = false;  // a line stands that the next one replaces
};

}  // namespace gapmerge
