#pragma once

#include <QMainWindow>
#include <QMargins>
#include <QSize>

#include <functional>

class QEventLoop;
class QTextEdit;

// The result window "Primes gaps": an editable text view over the whole area
// above a status bar that shows the run's verdict and nothing else; the view
// grows and shrinks with the window. Escape and a close request are both passed to the owner's
// close handler; the window itself stays open.
namespace gapmerge {

// The size of the area inside the frame when the window opens.
inline constexpr QSize resultWindowSize{800, 600};

class ResultMainWindow final : public QMainWindow {
 public:
  explicit ResultMainWindow(std::function<void()> onCloseRequest);

  // Shows the window, centred on the primary screen with its frame, and
  // waits a moment for it to appear.
  void showCentred();
  [[nodiscard]] QTextEdit* textView() const { return textView_; }
  // Shows the verdict in the status bar, in a warning colour when something
  // is wrong with the result.
  void showVerdict(const QString& verdict, bool warning);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void centreOnScreen();
  void waitUntilExposed();
  void recentreInFrame();
  void addTextView();
  void bindCloseKey();

  std::function<void()> onCloseRequest_;
  QTextEdit* textView_ = nullptr;
  QMargins centredFrame_;  // the frame the window was last centred with
  QEventLoop* exposeLoop_ = nullptr;
};

}  // namespace gapmerge
