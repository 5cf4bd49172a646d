#include "ui/gap_chart.hpp"

#include <QCategoryAxis>
#include <QChart>
#include <QColor>
#include <QFont>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "render/result_text.hpp"
#include "text/number_format.hpp"

namespace gapmerge {

namespace {

constexpr int residueClasses = 3;
// Two sizes of a class are neighbours when they differ by this: both odd or both even.
constexpr std::int64_t joinStep = 6;
constexpr std::array<QRgb, residueClasses> classColours{0x1f77b4, 0xd62728, 0x2ca02c};
constexpr double markerSize = 7.0;
constexpr double lineWidth = 1.5;
constexpr int titlePointSize = 12;
constexpr int gapTicks = 13;
constexpr int gapMinorTicks = 4;
constexpr double lowestCount = 0.5;  // below 1, so that a count of 1 stands above the axis
// The ratio plot shows sizes expected at least this often, on this range.
constexpr double leastExpectedForRatio = 1.0;
// The ratio axis reaches at least from 0.5 to 1.5, and further by steps of
// 0.5 to hold every ratio; its ticks stand 0.25 apart, or wider when that
// would make too many.
constexpr double lowestRatio = 0.5;
constexpr double highestRatio = 1.5;
constexpr double ratioStep = 0.5;
constexpr double ratioTickStep = 0.25;
constexpr int mostRatioTicks = 6;
constexpr int largestGroupedPower = 18;  // the largest power of ten in 64 bits

QString grouped(std::int64_t value) {
  return QString::fromStdString(formatGroupedInteger(value));
}

// "1", "10", "100", "1.000", ... grouped as in the title.
QString powerOfTenText(int exponent) {
  if (exponent > largestGroupedPower) {
    return QStringLiteral("10^%1").arg(exponent);
  }
  std::int64_t power = 1;
  for (int i = 0; i < exponent; ++i) {
    power *= 10;
  }
  return grouped(power);
}

// Where a count stands on the count axis, whose labels are the powers of ten.
double countPosition(double count) {
  return std::log10(count);
}

std::int64_t countOf(const RunOutcome& outcome, std::int64_t gap) {
  return outcome.histogram[static_cast<std::size_t>(gap)];
}

QPointF chartPoint(const RunOutcome& outcome, std::int64_t gap) {
  return {static_cast<double>(gap), countPosition(static_cast<double>(countOf(outcome, gap)))};
}

QColor classColour(int residue) {
  return {classColours[static_cast<std::size_t>(residue)]};
}

// Keeps the run when it joins at least two sizes, and starts a new one.
void closeRun(std::vector<std::int64_t>& run, std::vector<std::vector<std::int64_t>>& runs) {
  if (run.size() >= 2) {
    runs.push_back(std::move(run));
  }
  run.clear();
}

// The runs of sizes g, g + 6, g + 12, ... of one class that all occur.
std::vector<std::vector<std::int64_t>> joinedRuns(const RunOutcome& outcome, int residue) {
  std::vector<std::vector<std::int64_t>> runs;
  for (std::int64_t first = residue; first < residue + joinStep; first += residueClasses) {
    std::vector<std::int64_t> run;
    for (std::int64_t gap = first; gap <= maxHistogramGap; gap += joinStep) {
      if (countOf(outcome, gap) >= 1) {
        run.push_back(gap);
      } else {
        closeRun(run, runs);
      }
    }
    closeRun(run, runs);
  }
  return runs;
}

QScatterSeries* makeClassPoints(const RunOutcome& outcome, int residue) {
  auto* series = new QScatterSeries;
  series->setName(QString::fromStdString(classSeriesName(outcome, residue)));
  series->setMarkerShape(QScatterSeries::MarkerShapeCircle);
  series->setMarkerSize(markerSize);
  series->setColor(classColour(residue));
  series->setBorderColor(classColour(residue));
  for (std::int64_t gap = residue; gap <= maxHistogramGap; gap += residueClasses) {
    if (countOf(outcome, gap) >= 1) {
      series->append(chartPoint(outcome, gap));
    }
  }
  return series;
}

QLineSeries* makeLine(const std::vector<QPointF>& points, const QColor& colour,
                      Qt::PenStyle style = Qt::SolidLine) {
  auto* series = new QLineSeries;
  series->setPen(QPen(colour, lineWidth, style));
  series->append(QList<QPointF>(points.begin(), points.end()));
  return series;
}

// The model's counts of the even sizes of a class, g, g + 6, ..., as far as
// something is expected: one dashed line.
QLineSeries* makeExpectedLine(const RunOutcome& outcome, int residue) {
  std::vector<QPointF> points;
  const std::int64_t firstEven = residue == 0 ? joinStep : (residue == 1 ? 4 : 2);
  for (std::int64_t gap = firstEven; gap <= maxHistogramGap; gap += joinStep) {
    const double expected = outcome.expected[static_cast<std::size_t>(gap)];
    if (expected >= lowestCount) {
      points.emplace_back(static_cast<double>(gap), countPosition(expected));
    }
  }
  return makeLine(points, classColour(residue), Qt::DashLine);
}

// The largest gap and the largest count shown; 0 when nothing is shown.
QPointF highestPoint(const RunOutcome& outcome) {
  QPointF highest;
  for (std::int64_t gap = 0; gap <= maxHistogramGap; ++gap) {
    const auto count = static_cast<double>(countOf(outcome, gap));
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
QCategoryAxis* makeCountAxis(double highestCount) {
  auto* axis = new QCategoryAxis;
  axis->setTitleText(QStringLiteral("number of gaps"));
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  const int top = static_cast<int>(std::floor(std::log10(std::max(1.0, highestCount)))) + 1;
  axis->setStartValue(countPosition(lowestCount));
  axis->setRange(countPosition(lowestCount), top);
  for (int exponent = 0; exponent <= top; ++exponent) {
    axis->append(powerOfTenText(exponent), exponent);
  }
  return axis;
}

struct ChartAxes {
  QAbstractAxis* gap;
  QAbstractAxis* count;
};

void addSeries(QChart& chart, QXYSeries* series, const ChartAxes& axes, bool inLegend) {
  chart.addSeries(series);
  series->attachAxis(axes.gap);
  series->attachAxis(axes.count);
  if (!inLegend) {
    for (QLegendMarker* marker : chart.legend()->markers(series)) {
      marker->setVisible(false);
    }
  }
}

void addClass(QChart& chart, const RunOutcome& outcome, int residue, const ChartAxes& axes) {
  if (QLineSeries* expected = makeExpectedLine(outcome, residue); expected->count() > 0) {
    expected->setName(QStringLiteral("expected (dashed), by the prime k-tuple conjecture"));
    addSeries(chart, expected, axes, residue == 0);
  } else {
    delete expected;
  }
  for (const auto& run : joinedRuns(outcome, residue)) {
    std::vector<QPointF> points;
    points.reserve(run.size());
    for (const std::int64_t gap : run) {
      points.push_back(chartPoint(outcome, gap));
    }
    addSeries(chart, makeLine(points, classColour(residue)), axes, false);
  }
  addSeries(chart, makeClassPoints(outcome, residue), axes, true);
}

// The observed / expected count of every size that occurs and is expected
// at least once, in its class.
std::vector<QPointF> ratioPoints(const RunOutcome& outcome, int residue) {
  std::vector<QPointF> points;
  for (std::int64_t gap = residue; gap <= maxHistogramGap; gap += residueClasses) {
    const double expected = outcome.expected[static_cast<std::size_t>(gap)];
    if (countOf(outcome, gap) >= 1 && expected >= leastExpectedForRatio) {
      points.emplace_back(static_cast<double>(gap),
                          static_cast<double>(countOf(outcome, gap)) / expected);
    }
  }
  return points;
}

QValueAxis* makeRatioAxis(const std::vector<QPointF>& points) {
  double lowest = lowestRatio;
  double highest = highestRatio;
  for (const QPointF& point : points) {
    lowest = std::min(lowest, std::floor(point.y() / ratioStep) * ratioStep);
    highest = std::max(highest, std::ceil(point.y() / ratioStep) * ratioStep);
  }
  double tickStep = ratioTickStep;
  while ((highest - lowest) / tickStep + 1 > mostRatioTicks) {
    tickStep *= 2;
  }
  highest = lowest + std::ceil((highest - lowest) / tickStep) * tickStep;
  auto* axis = new QValueAxis;
  axis->setTitleText(QStringLiteral("ratio"));
  axis->setRange(lowest, highest);
  axis->setTickCount(static_cast<int>(std::lround((highest - lowest) / tickStep)) + 1);
  axis->setLabelFormat(QStringLiteral("%.2f"));
  return axis;
}

}  // namespace

std::unique_ptr<QChart> makeRatioChart(const RunOutcome& outcome) {
  auto chart = std::make_unique<QChart>();
  chart->legend()->hide();
  chart->setTitle(QStringLiteral("Observed / expected count"));
  std::array<std::vector<QPointF>, residueClasses> ratios;
  std::vector<QPointF> all;
  for (int residue = 0; residue < residueClasses; ++residue) {
    ratios[static_cast<std::size_t>(residue)] = ratioPoints(outcome, residue);
    all.insert(all.end(), ratios[static_cast<std::size_t>(residue)].begin(),
               ratios[static_cast<std::size_t>(residue)].end());
  }
  QValueAxis* gapAxis = makeGapAxis(highestPoint(outcome).x());
  const ChartAxes axes{gapAxis, makeRatioAxis(all)};
  chart->addAxis(axes.gap, Qt::AlignBottom);
  chart->addAxis(axes.count, Qt::AlignLeft);
  const double right = gapAxis->max();
  addSeries(*chart, makeLine({{0, 1}, {right, 1}}, Qt::gray, Qt::DotLine), axes, false);
  for (int residue = 0; residue < residueClasses; ++residue) {
    auto* series = new QScatterSeries;
    series->setMarkerSize(markerSize / 2);
    series->setColor(classColour(residue));
    series->setBorderColor(classColour(residue));
    const auto& points = ratios[static_cast<std::size_t>(residue)];
    series->append(QList<QPointF>(points.begin(), points.end()));
    addSeries(*chart, series, axes, false);
  }
  return chart;
}

std::unique_ptr<QChart> makeGapChart(const RunOutcome& outcome) {
  auto chart = std::make_unique<QChart>();
  chart->setTitle(QString::fromStdString(chartTitle(outcome)));
  QFont titleFont = chart->titleFont();
  titleFont.setPointSize(titlePointSize);
  titleFont.setBold(true);
  chart->setTitleFont(titleFont);
  chart->legend()->setAlignment(Qt::AlignTop);
  const QPointF highest = highestPoint(outcome);
  const ChartAxes axes{makeGapAxis(highest.x()), makeCountAxis(highest.y())};
  chart->addAxis(axes.gap, Qt::AlignBottom);
  chart->addAxis(axes.count, Qt::AlignLeft);
  for (int residue = 0; residue < residueClasses; ++residue) {
    addClass(*chart, outcome, residue, axes);
  }
  return chart;
}

}  // namespace gapmerge
