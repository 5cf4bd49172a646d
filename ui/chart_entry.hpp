#pragma once

#include <memory>
#include <optional>

#include "outcome/run_outcome.hpp"

class QAction;

// The way from the result window to the gap chart: Ctrl+G, and "Gap chart"
// at the end of the text view's context menu, open the chart window of the
// outcome shown, on the result window's screen.
namespace gapmerge {

class GapChartWindow;
class ResultMainWindow;

class ChartEntry {
 public:
  explicit ChartEntry(ResultMainWindow& window);
  ~ChartEntry();
  ChartEntry(const ChartEntry&) = delete;
  ChartEntry& operator=(const ChartEntry&) = delete;
  ChartEntry(ChartEntry&&) = delete;
  ChartEntry& operator=(ChartEntry&&) = delete;

  // The outcome that the chart shows; until it is set the entry does nothing.
  void setOutcome(const RunOutcome& outcome);

 private:
  void openChart();

  ResultMainWindow& window_;
  std::unique_ptr<QAction> action_;
  std::optional<RunOutcome> outcome_;
  std::unique_ptr<GapChartWindow> chartWindow_;
};

}  // namespace gapmerge
