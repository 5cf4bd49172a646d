#include "ui/placement.hpp"

#include <algorithm>

namespace gapmerge {

QPoint centredPosition(const QRect& screen, const QSize& window) {
  const int width = std::min(window.width(), screen.width());
  const int height = std::min(window.height(), screen.height());
  return screen.topLeft() + QPoint((screen.width() - width) / 2, (screen.height() - height) / 2);
}

}  // namespace gapmerge
