#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/window_view.hpp"

// An opened result window whose hand-overs to the desktop are only recorded.
namespace gapmerge::test {

struct HandOverCall {
  std::string file;
  std::string folder;
};

class WindowFixture : public ::testing::Test {
 protected:
  WindowFixture();

  // Waits until the window is the active one, so that its keys reach it.
  void activateWindow();

  std::vector<HandOverCall> handOvers;
  WindowView view;
};

}  // namespace gapmerge::test
