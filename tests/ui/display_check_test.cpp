#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "tests/support/scratch_dir.hpp"
#include "ui/display_check.hpp"

namespace gapmerge::test {
namespace {

// Clears the variables that select a display, and puts them back afterwards.
class DisplayEnvironment : public ::testing::Test {
 protected:
  DisplayEnvironment() {
    for (const char* name : names) {
      saved_.push_back(std::getenv(name) == nullptr ? std::string() : std::getenv(name));
      ::unsetenv(name);
    }
  }
  ~DisplayEnvironment() override {
    for (std::size_t i = 0; i < std::size(names); ++i) {
      restore(names[i], saved_[i]);
    }
  }
  DisplayEnvironment(const DisplayEnvironment&) = delete;
  DisplayEnvironment& operator=(const DisplayEnvironment&) = delete;
  DisplayEnvironment(DisplayEnvironment&&) = delete;
  DisplayEnvironment& operator=(DisplayEnvironment&&) = delete;

  static void set(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }

 private:
  static constexpr const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY",
                                          "XDG_RUNTIME_DIR"};
  static void restore(const char* name, const std::string& value) {
    if (value.empty()) {
      ::unsetenv(name);
    } else {
      set(name, value);
    }
  }
  std::vector<std::string> saved_;
};

// A listening Unix socket, as a Wayland compositor offers one.
class ListeningSocket {
 public:
  explicit ListeningSocket(const std::filesystem::path& path)
      : handle_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    sockaddr* generic = static_cast<sockaddr*>(static_cast<void*>(&address));
    listening_ = ::bind(handle_, generic, sizeof(address)) == 0 && ::listen(handle_, 1) == 0;
  }
  ~ListeningSocket() { ::close(handle_); }
  ListeningSocket(const ListeningSocket&) = delete;
  ListeningSocket& operator=(const ListeningSocket&) = delete;
  ListeningSocket(ListeningSocket&&) = delete;
  ListeningSocket& operator=(ListeningSocket&&) = delete;

  [[nodiscard]] bool listening() const { return listening_; }

 private:
  int handle_;
  bool listening_ = false;
};

TEST_F(DisplayEnvironment, findsNoneWithoutAnyDisplayVariable) {
  EXPECT_FALSE(displayAvailable());
}

TEST_F(DisplayEnvironment, acceptsThePlatformsThatNeedNoDisplay) {
  set("QT_QPA_PLATFORM", "offscreen");
  EXPECT_TRUE(displayAvailable());
  set("QT_QPA_PLATFORM", "minimal");
  EXPECT_TRUE(displayAvailable());
  set("QT_QPA_PLATFORM", "offscreen:fontengine=freetype");
  EXPECT_TRUE(displayAvailable());
}

TEST_F(DisplayEnvironment, findsNoneWhenTheXServerDoesNotAnswer) {
  set("DISPLAY", ":4711");
  EXPECT_FALSE(displayAvailable());
  set("QT_QPA_PLATFORM", "xcb");
  EXPECT_FALSE(displayAvailable());
}

TEST_F(DisplayEnvironment, triesTheListedPlatformsInTurn) {
  set("DISPLAY", ":4711");
  set("QT_QPA_PLATFORM", "xcb;offscreen");
  EXPECT_TRUE(displayAvailable());
  set("QT_QPA_PLATFORM", "wayland;xcb");
  EXPECT_FALSE(displayAvailable());
}

TEST_F(DisplayEnvironment, findsNoneWhenTheWaylandSocketIsMissing) {
  const ScratchDir runtime;
  set("XDG_RUNTIME_DIR", runtime.path().string());
  set("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_FALSE(displayAvailable());
  set("WAYLAND_DISPLAY", (runtime.path() / "wayland-1").string());
  EXPECT_FALSE(displayAvailable());
}

TEST_F(DisplayEnvironment, acceptsAWaylandSocketThatListens) {
  const ScratchDir runtime;
  const ListeningSocket compositor(runtime.path() / "wayland-0");
  ASSERT_TRUE(compositor.listening());
  set("XDG_RUNTIME_DIR", runtime.path().string());
  set("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_TRUE(displayAvailable());
  set("WAYLAND_DISPLAY", (runtime.path() / "wayland-0").string());
  EXPECT_TRUE(displayAvailable());
}

}  // namespace
}  // namespace gapmerge::test
