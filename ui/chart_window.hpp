#pragma once

#include <QMainWindow>
#include <QRect>
#include <QString>

#include <cstdint>

#include "outcome/run_outcome.hpp"

class QChartView;

// The window "Gap distribution": the gap chart of a run, with the gap, count
// and share of the point under the pointer in the status bar and a tool tip.
// "Save image" (Ctrl+S) writes the chart as PNG, JPEG or SVG, by the file
// name's extension, at the size shown; Escape closes the window.
namespace gapmerge {

class GapChartWindow final : public QMainWindow {
 public:
  // Opens at 1100 x 720 pixels, or smaller to take at most nine tenths of the
  // available screen area's width and height, centred in it.
  GapChartWindow(RunOutcome outcome, const QRect& availableArea);

 private:
  void addChartView();
  void addSaveAndCloseActions();
  void showGap(std::int64_t gap, bool hovered);
  void saveImage();
  QString chooseImageFile();

  RunOutcome outcome_;
  QChartView* chartView_ = nullptr;
};

}  // namespace gapmerge
