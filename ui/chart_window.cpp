#include "ui/chart_window.hpp"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QLineSeries>
#include <QMessageBox>
#include <QSaveFile>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>

#include <cmath>
#include <utility>

#include "ui/chart_file.hpp"
#include "ui/gap_chart.hpp"

namespace gapmerge {

namespace {

constexpr QSize chartWindowSize{1100, 720};

const QString pngFilter = QStringLiteral("PNG image (*.png)");
const QString svgFilter = QStringLiteral("SVG drawing (*.svg)");

// The gap size of the series' point nearest to the pointer; a series is
// hovered only when it has points.
std::int64_t nearestGap(const QLineSeries& series, double x) {
  double nearest = series.at(0).x();
  for (const QPointF& point : series.points()) {
    if (std::abs(point.x() - x) < std::abs(nearest - x)) {
      nearest = point.x();
    }
  }
  return static_cast<std::int64_t>(nearest);
}

// The file name with the extension of its format; the filter decides when
// the name has neither.
QString withExtension(QString file, const QString& filter) {
  if (!file.endsWith(QStringLiteral(".png")) && !file.endsWith(QStringLiteral(".svg"))) {
    file += filter == svgFilter ? QStringLiteral(".svg") : QStringLiteral(".png");
  }
  return file;
}

// Writes bytes through a temporary file; the reason when that failed.
QString writeWhole(const QString& file, const std::string& bytes) {
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) ||
      out.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !out.commit()) {
    return out.errorString();
  }
  return {};
}

}  // namespace

GapChartWindow::GapChartWindow(RunOutcome outcome) : outcome_(std::move(outcome)) {
  setWindowTitle(QStringLiteral("Gap distribution"));
  addChartView();
  addSaveAndCloseActions();
  statusBar()->showMessage(QStringLiteral("Point at a gap to see its count and share"));
  resize(chartWindowSize);
}

void GapChartWindow::addChartView() {
  std::unique_ptr<QChart> chart = makeGapChart(outcome_);
  for (QAbstractSeries* abstractSeries : chart->series()) {
    auto* series = qobject_cast<QLineSeries*>(abstractSeries);
    connect(series, &QLineSeries::hovered, this,
            [this, series](const QPointF& point, bool hovered) {
              showGap(nearestGap(*series, point.x()), hovered);
            });
  }
  chartView_ = new QChartView(chart.release(), this);
  chartView_->setRenderHint(QPainter::Antialiasing);
  setCentralWidget(chartView_);
}

void GapChartWindow::addSaveAndCloseActions() {
  auto* save = new QAction(QStringLiteral("Save image..."), this);
  save->setShortcut(QKeySequence::Save);
  save->setToolTip(QStringLiteral("Save the chart as PNG or SVG (Ctrl+S)"));
  connect(save, &QAction::triggered, this, [this] { saveImage(); });
  auto* toolBar = addToolBar(QStringLiteral("Chart"));
  toolBar->setMovable(false);
  toolBar->addAction(save);

  auto* close = new QAction(this);
  close->setShortcut(QKeySequence(Qt::Key_Escape));
  connect(close, &QAction::triggered, this, &QWidget::close);
  addAction(close);
}

void GapChartWindow::showGap(std::int64_t gap, bool hovered) {
  if (!hovered) {
    QToolTip::hideText();
    statusBar()->clearMessage();
    return;
  }
  const QString text = gapPointText(outcome_, gap);
  statusBar()->showMessage(text);
  QToolTip::showText(QCursor::pos(), text, chartView_);
}

void GapChartWindow::saveImage() {
  QString filter = pngFilter;
  const QString chosen = QFileDialog::getSaveFileName(
      this, QStringLiteral("Save gap chart"),
      QDir(QString::fromStdString(outcome_.directory)).filePath(QStringLiteral("gaps.png")),
      pngFilter + QStringLiteral(";;") + svgFilter, &filter);
  if (chosen.isEmpty()) {
    return;
  }
  const QString file = withExtension(chosen, filter);
  const auto format = file.endsWith(QStringLiteral(".svg")) ? ChartFormat::svg : ChartFormat::png;
  const auto bytes = drawGapChartFile(outcome_, format, chartView_->width(), chartView_->height());
  const QString failure =
      bytes ? writeWhole(file, *bytes) : QStringLiteral("the chart could not be drawn");
  if (!failure.isEmpty()) {
    QMessageBox::warning(this, QStringLiteral("Save gap chart"),
                         QStringLiteral("%1 could not be written: %2").arg(file, failure));
  }
}

}  // namespace gapmerge
