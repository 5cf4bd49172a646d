#include "ui/gap_chart.hpp"

#include <QChart>
#include <QColor>
#include <QFont>
#include <QLegend>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>

#include "text/number_format.hpp"

namespace gapmerge {

namespace {

constexpr int residueClasses = 3;
constexpr std::array<QRgb, residueClasses> classColours{0x1f77b4, 0xd62728, 0x2ca02c};
constexpr double markerSize = 4.0;
constexpr double lineWidth = 1.5;
constexpr int titlePointSize = 12;
constexpr int gapTicks = 13;
constexpr int gapMinorTicks = 4;
constexpr double lowestCount = 0.5;  // below 1, so that a count of 1 stands above the axis

QString grouped(std::int64_t value) {
  return QString::fromStdString(formatGroupedInteger(value));
}

QString gapsText(std::int64_t count) {
  return grouped(count) + (count == 1 ? QStringLiteral(" gap") : QStringLiteral(" gaps"));
}

QLineSeries* makeClassSeries(const RunOutcome& outcome, int residue) {
  auto* series = new QLineSeries;
  series->setName(QStringLiteral("gap ≡ %1 (mod 3): %2")
                      .arg(residue)
                      .arg(gapsText(outcome.residueTotals[static_cast<std::size_t>(residue)])));
  const QColor colour(classColours[static_cast<std::size_t>(residue)]);
  series->setPen(QPen(colour, lineWidth));
  series->setPointsVisible(true);
  series->setMarkerSize(markerSize);
  for (std::int64_t gap = residue; gap <= maxHistogramGap; gap += residueClasses) {
    const std::int64_t count = outcome.histogram[static_cast<std::size_t>(gap)];
    if (count >= 1) {
      series->append(static_cast<double>(gap), static_cast<double>(count));
    }
  }
  return series;
}

// The largest gap and the largest count shown; 0 when nothing is shown.
QPointF highestPoint(const RunOutcome& outcome) {
  QPointF highest;
  for (std::int64_t gap = 0; gap <= maxHistogramGap; ++gap) {
    const auto count = static_cast<double>(outcome.histogram[static_cast<std::size_t>(gap)]);
    if (count >= 1) {
      highest = {static_cast<double>(gap), std::max(highest.y(), count)};
    }
  }
  return highest;
}

QValueAxis* makeGapAxis(double highestGap) {
  auto* axis = new QValueAxis;
  axis->setTitleText(QStringLiteral("gap between consecutive primes"));
  axis->setLabelFormat(QStringLiteral("%d"));
  axis->setRange(0, std::max(10.0, highestGap + 2));
  axis->setTickCount(gapTicks);
  axis->applyNiceNumbers();
  axis->setMinorTickCount(gapMinorTicks);
  return axis;
}

// Labelled at the powers of ten, up to the first one above the highest count.
QLogValueAxis* makeCountAxis(double highestCount) {
  auto* axis = new QLogValueAxis;
  axis->setTitleText(QStringLiteral("number of gaps"));
  axis->setBase(10);
  axis->setLabelFormat(QStringLiteral("%.0f"));
  axis->setMinorTickCount(-1);
  axis->setRange(lowestCount,
                 std::pow(10.0, std::floor(std::log10(std::max(1.0, highestCount))) + 1));
  return axis;
}

}  // namespace

QString gapChartTitle(const RunOutcome& outcome) {
  const QString title = QStringLiteral("Gaps between consecutive primes");
  if (!outcome.range) {
    return title + QStringLiteral(": no reports found");
  }
  return QStringLiteral("%1, %2 to %3: %4")
      .arg(title, grouped(outcome.range->from), grouped(outcome.range->to),
           gapsText(outcome.gapTotal));
}

std::unique_ptr<QChart> makeGapChart(const RunOutcome& outcome) {
  auto chart = std::make_unique<QChart>();
  chart->setTitle(gapChartTitle(outcome));
  QFont titleFont = chart->titleFont();
  titleFont.setPointSize(titlePointSize);
  titleFont.setBold(true);
  chart->setTitleFont(titleFont);
  chart->legend()->setAlignment(Qt::AlignTop);
  const QPointF highest = highestPoint(outcome);
  auto* gapAxis = makeGapAxis(highest.x());
  auto* countAxis = makeCountAxis(highest.y());
  chart->addAxis(gapAxis, Qt::AlignBottom);
  chart->addAxis(countAxis, Qt::AlignLeft);
  for (int residue = 0; residue < residueClasses; ++residue) {
    QLineSeries* series = makeClassSeries(outcome, residue);
    chart->addSeries(series);
    series->attachAxis(gapAxis);
    series->attachAxis(countAxis);
  }
  return chart;
}

QString gapPointText(const RunOutcome& outcome, std::int64_t gap) {
  const std::int64_t count = outcome.histogram[static_cast<std::size_t>(gap)];
  const std::int64_t total = outcome.gapTotal;
  const double share = total == 0 ? 0.0 : static_cast<double>(count) / static_cast<double>(total);
  return QStringLiteral("gap %1: %2, share %3 %")
      .arg(gap)
      .arg(gapsText(count))
      .arg(share * 100, 0, 'f', 4);
}

}  // namespace gapmerge
