#include "ui/placement.hpp"

#include <algorithm>

namespace gapmerge {

namespace {

// Rounded down.
int nineTenths(int length) {
  return length * 9 / 10;
}

}  // namespace

QPoint centredPosition(const QRect& screen, const QSize& window) {
  const int width = std::min(window.width(), screen.width());
  const int height = std::min(window.height(), screen.height());
  return screen.topLeft() + QPoint((screen.width() - width) / 2, (screen.height() - height) / 2);
}

QRect fittedCentred(const QRect& available, const QSize& wanted) {
  const QSize size(std::min(wanted.width(), nineTenths(available.width())),
                   std::min(wanted.height(), nineTenths(available.height())));
  return {centredPosition(available, size), size};
}

}  // namespace gapmerge
