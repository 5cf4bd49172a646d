#include <gtest/gtest.h>

#include "ui/placement.hpp"

namespace gapmerge {
namespace {

TEST(CentredPosition, centresASmallerWindow) {
  EXPECT_EQ(centredPosition(QRect(0, 0, 1024, 768), QSize(800, 600)), QPoint(112, 84));
}

TEST(CentredPosition, roundsHalfPixelsDown) {
  EXPECT_EQ(centredPosition(QRect(0, 0, 1025, 769), QSize(800, 600)), QPoint(112, 84));
}

TEST(CentredPosition, startsAtTheEdgeWhenWiderOrHigherThanTheScreen) {
  EXPECT_EQ(centredPosition(QRect(0, 0, 640, 480), QSize(800, 600)), QPoint(0, 0));
  EXPECT_EQ(centredPosition(QRect(0, 0, 640, 768), QSize(800, 600)), QPoint(0, 84));
  EXPECT_EQ(centredPosition(QRect(0, 0, 1024, 480), QSize(800, 600)), QPoint(112, 0));
}

TEST(CentredPosition, keepsToAScreenThatDoesNotStartAtTheOrigin) {
  EXPECT_EQ(centredPosition(QRect(1920, 100, 1024, 768), QSize(800, 600)), QPoint(2032, 184));
}

}  // namespace
}  // namespace gapmerge
