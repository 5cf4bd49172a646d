#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the result window goes on the screen.
namespace gapmerge {

// The top-left corner that centres a window of the given size on screen. A
// dimension larger than the screen's counts as the screen's, so such a window
// starts at the screen's edge.
QPoint centredPosition(const QRect& screen, const QSize& window);

}  // namespace gapmerge
