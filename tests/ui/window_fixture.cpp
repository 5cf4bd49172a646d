#include "tests/ui/window_fixture.hpp"

#include <QTest>

#include "tests/ui/qt_application.hpp"
#include "ui/main_window.hpp"

namespace gapmerge::test {

WindowFixture::WindowFixture()
    : view([this](const std::string& file, const std::string& folder) {
        handOvers.push_back({file, folder});
      }) {
  qtApplication();
  view.open();
}

void WindowFixture::activateWindow() {
  view.window()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.window()));
}

}  // namespace gapmerge::test
