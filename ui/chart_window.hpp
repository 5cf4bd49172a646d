#pragma once

#include <QMainWindow>

#include <cstdint>

#include "merge/run_outcome.hpp"

class QChartView;

// The window "Gap distribution": the gap chart of a run, with the gap, count
// and share of the point under the pointer in the status bar and a tool tip.
// "Save image..." (Ctrl+S) writes the chart as PNG or SVG at the size shown;
// Escape closes the window.
namespace gapmerge {

class GapChartWindow final : public QMainWindow {
 public:
  explicit GapChartWindow(RunOutcome outcome);

 private:
  void addChartView();
  void addSaveAndCloseActions();
  void showGap(std::int64_t gap, bool hovered);
  void saveImage();

  RunOutcome outcome_;
  QChartView* chartView_ = nullptr;
};

}  // namespace gapmerge
