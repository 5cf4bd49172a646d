#include "ui/open_question.hpp"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QProxyStyle>

namespace gapmerge {

namespace {

// Desktops order dialog buttons differently; this style keeps Yes, No, Cancel.
class FixedButtonOrderStyle final : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_DialogButtonLayout) {
      return QDialogButtonBox::WinLayout;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

// The style is a child of the box, made after its button box, so it is
// deleted after the widget that uses it.
void fixButtonOrder(QMessageBox& box) {
  auto* buttons = box.findChild<QDialogButtonBox*>();
  if (buttons == nullptr) {
    return;
  }
  auto* style = new FixedButtonOrderStyle;
  style->setParent(&box);
  buttons->setStyle(style);
}

}  // namespace

std::unique_ptr<QMessageBox> makeOpenQuestion(QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(QStringLiteral("Open merged results file"));
  box->setText(QStringLiteral("Want to open results file ?"));
  box->setIcon(QMessageBox::NoIcon);
  box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  box->setDefaultButton(QMessageBox::Yes);
  box->setEscapeButton(QMessageBox::Cancel);
  box->setWindowModality(Qt::ApplicationModal);
  fixButtonOrder(*box);
  return box;
}

bool askToOpen(QWidget* parent) {
  const auto box = makeOpenQuestion(parent);
  return box->exec() == QMessageBox::Yes;
}

}  // namespace gapmerge
