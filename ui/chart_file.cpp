#include "ui/chart_file.hpp"

#include <QApplication>
#include <QBuffer>
#include <QChart>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <array>

#include "render/result_text.hpp"
#include "ui/gap_chart.hpp"

namespace gapmerge {

namespace {

// Pixels as CSS counts them, so that the drawing shows at its pixel size.
constexpr int svgDotsPerInch = 96;
// Of 100: lines and text without visible artefacts.
constexpr int jpegQuality = 90;

// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): the handler has no context
QtMessageHandler previousMessageHandler = nullptr;

// Qt warns when XDG_RUNTIME_DIR is not set, as in cron jobs and over plain
// ssh; a chart drawn offscreen needs no runtime folder, so that warning is
// dropped and every other message passed on.
void dropRuntimeFolderWarning(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
  if (!message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set"))) {
    previousMessageHandler(type, context, message);
  }
}

// Lays the gap chart out over the top of size and the ratio plot below it,
// and paints them onto device.
void paintChart(const RunOutcome& outcome, QPaintDevice& device, QSize size) {
  QGraphicsScene scene;
  const int mainHeight = size.height() * gapChartShare / (gapChartShare + 1);
  std::array<std::unique_ptr<QChart>, 2> charts{makeGapChart(outcome), makeRatioChart(outcome)};
  const std::array<QRectF, 2> places{
      QRectF(0, 0, size.width(), mainHeight),
      QRectF(0, mainHeight, size.width(), size.height() - mainHeight)};
  for (std::size_t k = 0; k < charts.size(); ++k) {
    charts[k]->setBackgroundRoundness(0);
    charts[k]->setGeometry(places[k]);
    scene.addItem(charts[k].release());
  }
  QApplication::sendPostedEvents();  // the charts lay themselves out on a posted event
  QPainter painter(&device);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const QRectF area(QPointF(0, 0), size);
  scene.render(&painter, area, area);
}

// A PNG, or a JPEG of high quality.
std::optional<std::string> drawImage(const RunOutcome& outcome, ChartFormat format, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  if (image.isNull()) {
    return std::nullopt;
  }
  image.fill(Qt::white);
  paintChart(outcome, image, size);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  const bool saved = format == ChartFormat::jpeg ? image.save(&buffer, "JPEG", jpegQuality)
                                                 : image.save(&buffer, "PNG");
  if (!saved) {
    return std::nullopt;
  }
  return buffer.data().toStdString();
}

std::string drawSvg(const RunOutcome& outcome, QSize size) {
  QBuffer buffer;
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(svgDotsPerInch);
  generator.setTitle(QString::fromStdString(chartTitle(outcome)));
  generator.setDescription(
      QStringLiteral("The number of gaps of each size, by residue class mod 3"));
  paintChart(outcome, generator, size);
  return buffer.data().toStdString();
}

std::optional<std::string> draw(const RunOutcome& outcome, ChartFormat format, QSize size) {
  if (format == ChartFormat::svg) {
    return drawSvg(outcome, size);
  }
  return drawImage(outcome, format, size);
}

// Qt sees its program name and the platform only.
std::optional<std::string> drawOffscreen(const RunOutcome& outcome, ChartFormat format,
                                         QSize size) {
  std::string name = "gapmerge";
  std::string option = "-platform";
  std::string platform = "offscreen";
  std::array<char*, 4> arguments{name.data(), option.data(), platform.data(), nullptr};
  int count = 3;
  previousMessageHandler = qInstallMessageHandler(dropRuntimeFolderWarning);
  std::optional<std::string> bytes;
  {
    const QApplication application(count, arguments.data());
    bytes = draw(outcome, format, size);
  }
  qInstallMessageHandler(previousMessageHandler);
  return bytes;
}

}  // namespace

std::optional<ChartFormat> chartFormatOf(std::string_view fileName) {
  const auto dot = fileName.rfind('.');
  if (dot == std::string_view::npos) {
    return std::nullopt;
  }
  const QString extension = QString::fromUtf8(fileName.substr(dot + 1)).toLower();
  if (extension == QStringLiteral("png")) {
    return ChartFormat::png;
  }
  if (extension == QStringLiteral("jpg") || extension == QStringLiteral("jpeg")) {
    return ChartFormat::jpeg;
  }
  if (extension == QStringLiteral("svg")) {
    return ChartFormat::svg;
  }
  return std::nullopt;
}

std::optional<std::string> drawGapChartFile(const RunOutcome& outcome, ChartFormat format,
                                            int width, int height) {
  const QSize size(width, height);
  if (QApplication::instance() == nullptr) {
    return drawOffscreen(outcome, format, size);
  }
  return draw(outcome, format, size);
}

}  // namespace gapmerge
