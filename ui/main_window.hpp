#pragma once

#include <QMainWindow>
#include <QSize>

#include <functional>

class QTextEdit;

// The result window "Primes gaps": an editable text view of fixed size in the
// top-left corner and a status bar that never shows text. Escape and a close
// request are both passed to the owner's close handler; the window itself
// stays open.
namespace gapmerge {

// The size of the area inside the frame, and of the text view placed in it.
inline constexpr QSize resultWindowSize{800, 600};

class ResultMainWindow final : public QMainWindow {
 public:
  explicit ResultMainWindow(std::function<void()> onCloseRequest);

  // Shows the window, centred on the primary screen.
  void showCentred();
  [[nodiscard]] QTextEdit* textView() const { return textView_; }

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void centreOnScreen();
  void addTextView();
  void bindCloseKey();

  std::function<void()> onCloseRequest_;
  QTextEdit* textView_ = nullptr;
};

}  // namespace gapmerge
