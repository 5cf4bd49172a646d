#include "ui/result_window.hpp"

#include <QApplication>
#include <QMainWindow>
#include <QTextEdit>

#include <cstdlib>

namespace gapmerge {

namespace {

class ResultWindow final : public ResultView {
 public:
  ResultWindow(int& argc, char** argv) : argc_(argc), argv_(argv) {}

  bool open() override {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
        std::getenv("QT_QPA_PLATFORM") == nullptr) {
      return false;
    }
    app_ = std::make_unique<QApplication>(argc_, argv_);
    window_ = std::make_unique<QMainWindow>();
    window_->setWindowTitle("Primes gaps");
    view_ = new QTextEdit(window_.get());
    view_->setGeometry(0, 0, 800, 600);
    window_->resize(800, 600);
    window_->show();
    return true;
  }
  void askOpen(const std::string& /*path*/, const std::string& /*directory*/) override {}
  void fill(const ViewText& text) override {
    view_->setPlainText(QString::fromUtf8(text.summary + "\n" + text.fileItem + "\n" + text.warnings));
  }
  void wait() override { QApplication::exec(); }

 private:
  int& argc_;
  char** argv_;
  std::unique_ptr<QApplication> app_;
  std::unique_ptr<QMainWindow> window_;
  QTextEdit* view_ = nullptr;
};

}  // namespace

std::unique_ptr<ResultView> makeResultWindow(int& argc, char** argv) {
  return std::make_unique<ResultWindow>(argc, argv);
}

}  // namespace gapmerge
