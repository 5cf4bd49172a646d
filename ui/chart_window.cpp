#include "ui/chart_window.hpp"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>
#include <QStatusBar>
#include <QStringList>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QXYSeries>

#include <array>
#include <cmath>
#include <utility>

#include "render/result_text.hpp"
#include "ui/chart_file.hpp"
#include "ui/gap_chart.hpp"
#include "ui/placement.hpp"

namespace gapmerge {

namespace {

constexpr QSize chartWindowSize{1100, 720};

struct ImageType {
  QString filter;
  QString suffix;  // added to a name that has none
};

const std::array<ImageType, 3> imageTypes{{
    {QStringLiteral("PNG image (*.png)"), QStringLiteral("png")},
    {QStringLiteral("JPEG image (*.jpg *.jpeg)"), QStringLiteral("jpg")},
    {QStringLiteral("SVG drawing (*.svg)"), QStringLiteral("svg")},
}};

// The gap size of the series' point nearest to the pointer; a series is
// hovered only when it has points.
std::int64_t nearestGap(const QXYSeries& series, double x) {
  double nearest = series.at(0).x();
  for (const QPointF& point : series.points()) {
    if (std::abs(point.x() - x) < std::abs(nearest - x)) {
      nearest = point.x();
    }
  }
  return static_cast<std::int64_t>(nearest);
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

GapChartWindow::GapChartWindow(RunOutcome outcome, const QRect& availableArea)
    : outcome_(std::move(outcome)) {
  setWindowTitle(QStringLiteral("Gap distribution"));
  addChartView();
  addSaveAndCloseActions();
  statusBar()->showMessage(QStringLiteral("Point at a gap to see its count and share"));
  setGeometry(fittedCentred(availableArea, chartWindowSize));
}

// The gap chart above the smaller ratio plot; pointing at a gap in either
// tells about it.
void GapChartWindow::addChartView() {
  auto* area = new QWidget(this);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  std::array<std::unique_ptr<QChart>, 2> charts{makeGapChart(outcome_), makeRatioChart(outcome_)};
  for (auto& chart : charts) {
    for (QAbstractSeries* abstractSeries : chart->series()) {
      auto* series = qobject_cast<QXYSeries*>(abstractSeries);
      connect(series, &QXYSeries::hovered, this,
              [this, series](const QPointF& point, bool hovered) {
                showGap(nearestGap(*series, point.x()), hovered);
              });
    }
    auto* view = new QChartView(chart.release(), area);
    view->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(view, chartView_ == nullptr ? gapChartShare : 1);
    if (chartView_ == nullptr) {
      chartView_ = view;
    }
  }
  setCentralWidget(area);
}

void GapChartWindow::addSaveAndCloseActions() {
  auto* save = new QAction(QStringLiteral("Save image"), this);
  save->setShortcut(QKeySequence::Save);
  save->setToolTip(QStringLiteral("Save the chart as PNG, JPEG or SVG (Ctrl+S)"));
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
  const QString text = QString::fromStdString(gapPointText(outcome_, gap));
  statusBar()->showMessage(text);
  QToolTip::showText(QCursor::pos(), text, chartView_);
}

// The dialog adds the chosen type's extension to a name without one, and
// asks before it replaces a file under the name it returns.
QString GapChartWindow::chooseImageFile() {
  QFileDialog dialog(this, QStringLiteral("Save gap chart"),
                     QString::fromStdString(outcome_.directory));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  QStringList filters;
  for (const ImageType& type : imageTypes) {
    filters.append(type.filter);
  }
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(imageTypes[0].suffix);
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    for (const ImageType& type : imageTypes) {
      if (type.filter == filter) {
        dialog.setDefaultSuffix(type.suffix);
      }
    }
  });
  dialog.selectFile(QStringLiteral("gaps.png"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return {};
  }
  return dialog.selectedFiles().constFirst();
}

// The format follows the extension of the name chosen; a name with another
// extension is refused, so that no file is written under a name not given.
void GapChartWindow::saveImage() {
  const QString file = chooseImageFile();
  if (file.isEmpty()) {
    return;
  }
  const auto format = chartFormatOf(QFile::encodeName(file).toStdString());
  QString failure;
  if (!format) {
    failure = QStringLiteral("the chart is saved as PNG (.png), JPEG (.jpg, .jpeg) or SVG (.svg)");
  } else if (const auto bytes = drawGapChartFile(outcome_, *format, centralWidget()->width(),
                                                 centralWidget()->height())) {
    failure = writeWhole(file, *bytes);
  } else {
    failure = QStringLiteral("the chart could not be drawn");
  }
  if (!failure.isEmpty()) {
    QMessageBox::warning(this, QStringLiteral("Save gap chart"),
                         QStringLiteral("%1 could not be written: %2").arg(file, failure));
  }
}

}  // namespace gapmerge
