#pragma once

class QWidget;

// Events as the window system sends them, so that modality applies to them.
namespace gapmerge::test {

// A close request, as from the window's close button or system menu.
void requestClose(QWidget& window);

}  // namespace gapmerge::test
