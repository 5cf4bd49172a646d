#include "tests/ui/qt_application.hpp"

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace gapmerge::test {

namespace {

std::unique_ptr<QApplication>& applicationSlot() {
  static std::unique_ptr<QApplication> application;
  return application;
}

// Ends the application when the tests are done, before the program's exit
// handlers run, which is too late for Qt.
class QtEnvironment final : public ::testing::Environment {
 public:
  void TearDown() override { applicationSlot().reset(); }
};

[[maybe_unused]] const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

QApplication& qtApplication() {
  static int argc = 1;
  static char name[] = "gapmerge-ui-test";
  static char* argv[] = {name, nullptr};
  auto& application = applicationSlot();
  if (!application) {
    application = std::make_unique<QApplication>(argc, argv);
  }
  return *application;
}

}  // namespace gapmerge::test
