#include "ui/chart_entry.hpp"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QTextEdit>

#include "ui/chart_window.hpp"
#include "ui/main_window.hpp"

namespace gapmerge {

ChartEntry::ChartEntry(ResultMainWindow& window)
    : window_(window), action_(std::make_unique<QAction>(QStringLiteral("Gap chart"))) {
  action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  action_->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(action_.get(), &QAction::triggered, [this] { openChart(); });
  window.addAction(action_.get());

  QTextEdit* view = window.textView();
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(view, &QWidget::customContextMenuRequested, action_.get(),
                   [this, view](const QPoint& position) {
                     const std::unique_ptr<QMenu> menu(view->createStandardContextMenu());
                     menu->addSeparator();
                     menu->addAction(action_.get());
                     menu->exec(view->viewport()->mapToGlobal(position));
                   });
}

ChartEntry::~ChartEntry() = default;

void ChartEntry::setOutcome(const RunOutcome& outcome) {
  outcome_ = outcome;
  chartWindow_.reset();
}

// The window is made once and shown again when it was closed.
void ChartEntry::openChart() {
  if (!outcome_) {
    return;
  }
  if (!chartWindow_) {
    chartWindow_ =
        std::make_unique<GapChartWindow>(*outcome_, window_.screen()->availableGeometry());
  }
  chartWindow_->show();
  chartWindow_->raise();
  chartWindow_->activateWindow();
}

}  // namespace gapmerge
