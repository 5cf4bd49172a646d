#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the windows go on the screen.
namespace gapmerge {

// The top-left corner that centres a window of the given size on screen. A
// dimension larger than the screen's counts as the screen's, so such a window
// starts at the screen's edge.
QPoint centredPosition(const QRect& screen, const QSize& window);

// The place of a window that would like the given size: at most nine tenths
// of the available area's width and of its height, centred in it.
QRect fittedCentred(const QRect& available, const QSize& wanted);

}  // namespace gapmerge
