#include "ui/main_window.hpp"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QStatusBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>
#include <utility>

#include "ui/placement.hpp"

namespace gapmerge {

namespace {

constexpr Qt::WindowFlags frameFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                                       Qt::WindowCloseButtonHint;

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

// The frame is known only once the window is shown, so the window is centred
// by its inner size first and again with its frame.
void ResultMainWindow::showCentred() {
  centreOnScreen();
  show();
  centreOnScreen();
}

void ResultMainWindow::centreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    move(centredPosition(screen->geometry(), frameGeometry().size()));
  }
}

// The view sits in a plain container without a layout, so nothing resizes
// or moves it when the window changes size; the status bar covers its
// bottom edge.
void ResultMainWindow::addTextView() {
  auto* area = new QWidget(this);
  area->setBackgroundRole(QPalette::Window);
  area->setAutoFillBackground(true);
  setCentralWidget(area);
  textView_ = new QTextEdit(area);
  textView_->setGeometry(QRect(QPoint(0, 0), resultWindowSize));
  textView_->setReadOnly(false);
  textView_->setAcceptRichText(true);
  textView_->setLineWrapMode(QTextEdit::NoWrap);
  textView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  textView_->document()->setMaximumBlockCount(0);
  textView_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void ResultMainWindow::bindCloseKey() {
  auto* closeAction = new QAction(this);
  closeAction->setShortcut(QKeySequence(Qt::Key_Escape));
  closeAction->setShortcutContext(Qt::WindowShortcut);
  connect(closeAction, &QAction::triggered, this, [this] { onCloseRequest_(); });
  addAction(closeAction);
}

// Status tips would otherwise appear in the status bar, which stays empty.
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
