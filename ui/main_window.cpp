#include "ui/main_window.hpp"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColor>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
#include <QScreen>
#include <QStatusBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "ui/placement.hpp"

namespace gapmerge {

namespace {

constexpr Qt::WindowFlags frameFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                                       Qt::WindowCloseButtonHint;

// Tab stops every 8 characters, as a terminal sets them.
constexpr int charactersPerTab = 8;

// How long the window may take to appear before the run goes on.
constexpr int exposeWaitMs = 500;

// A red that reads on the status bar's background: dark on a light one,
// light on a dark one.
QColor warningColour(const QPalette& palette) {
  return palette.color(QPalette::Window).lightness() < 128 ? QColor(0xFF, 0x6B, 0x6B)
                                                           : QColor(0xB0, 0x00, 0x20);
}

}  // namespace

ResultMainWindow::ResultMainWindow(std::function<void()> onCloseRequest)
    : onCloseRequest_(std::move(onCloseRequest)) {
  setWindowFlags(frameFlags);
  setWindowTitle(QStringLiteral("Primes gaps"));
  setWindowIcon(QIcon::fromTheme(QStringLiteral("gapmerge")));
  addTextView();
  statusBar()->clearMessage();
  bindCloseKey();
  resize(resultWindowSize);
}

// The frame is known only once the window is shown, and under a window
// manager only once the manager has framed it. The window is centred by what
// is known before and after show(), and again when its frame arrives. The
// events of the showing are handled at once, so that this happens before the
// window is first drawn and the run, which handles no events, begins.
void ResultMainWindow::showCentred() {
  centreOnScreen();
  show();
  centreOnScreen();
  windowHandle()->installEventFilter(this);
  waitUntilExposed();
}

void ResultMainWindow::centreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    centredFrame_ = windowHandle() == nullptr ? QMargins() : windowHandle()->frameMargins();
    move(centredPosition(screen->geometry(), frameGeometry().size()));
  }
}

void ResultMainWindow::waitUntilExposed() {
  QEventLoop loop;
  exposeLoop_ = &loop;
  QTimer::singleShot(exposeWaitMs, &loop, &QEventLoop::quit);
  if (!windowHandle()->isExposed()) {
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  exposeLoop_ = nullptr;
}

// The frame extents are known once the window is exposed or has moved into
// its frame. Until a frame arrives, each new one centres the window again.
bool ResultMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() &&
      (event->type() == QEvent::Expose || event->type() == QEvent::Move)) {
    recentreInFrame();
    if (exposeLoop_ != nullptr && windowHandle()->isExposed()) {
      exposeLoop_->quit();
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void ResultMainWindow::recentreInFrame() {
  const QMargins frame = windowHandle()->frameMargins();
  if (frame != centredFrame_ && windowState() == Qt::WindowNoState) {
    centreOnScreen();
  }
  if (!frame.isNull()) {
    windowHandle()->removeEventFilter(this);
  }
}

// The view is the window's central widget, so the window lays it out over
// the area between its top edge and the status bar at every size.
void ResultMainWindow::addTextView() {
  textView_ = new QTextEdit(this);
  setCentralWidget(textView_);
  textView_->setReadOnly(false);
  textView_->setAcceptRichText(true);
  textView_->setLineWrapMode(QTextEdit::NoWrap);
  textView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textView_->document()->setMaximumBlockCount(0);
  textView_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  textView_->setTabStopDistance(
      charactersPerTab * QFontMetricsF(textView_->font()).horizontalAdvance(QLatin1Char(' ')));
}

void ResultMainWindow::bindCloseKey() {
  auto* closeAction = new QAction(this);
  closeAction->setShortcut(QKeySequence(Qt::Key_Escape));
  closeAction->setShortcutContext(Qt::WindowShortcut);
  connect(closeAction, &QAction::triggered, this, [this] { onCloseRequest_(); });
  addAction(closeAction);
}

void ResultMainWindow::showVerdict(const QString& verdict, bool warning) {
  QStatusBar* bar = statusBar();
  QPalette palette = QApplication::palette(bar);
  if (warning) {
    palette.setColor(QPalette::WindowText, warningColour(palette));
  }
  bar->setPalette(palette);
  bar->showMessage(verdict);
}

// Status tips would otherwise replace the verdict in the status bar.
bool ResultMainWindow::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    return true;
  }
  return QMainWindow::event(event);
}

// A close request only tells the owner; the window stays. While a modal box
// is shown the window takes no requests at all.
void ResultMainWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  const QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || modal == this) {
    onCloseRequest_();
  }
}

}  // namespace gapmerge
