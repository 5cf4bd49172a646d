#pragma once

class QApplication;

// The one QApplication of a widget test program.
namespace gapmerge::test {

// Makes the application on the first call; it lives until the tests are done.
QApplication& qtApplication();

}  // namespace gapmerge::test
