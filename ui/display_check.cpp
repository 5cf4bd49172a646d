#include "ui/display_check.hpp"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace gapmerge {

namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// An X server answers: the connection set-up completes without error.
bool x11Answers() {
  if (environmentValue("DISPLAY").empty()) {
    return false;
  }
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool answered = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answered;
}

// The compositor's socket: WAYLAND_DISPLAY is a path, or a name under
// XDG_RUNTIME_DIR.
std::string waylandSocketPath() {
  const std::string display = environmentValue("WAYLAND_DISPLAY");
  if (display.empty() || display.front() == '/') {
    return display;
  }
  const std::string runtimeDirectory = environmentValue("XDG_RUNTIME_DIR");
  return runtimeDirectory.empty() ? std::string() : runtimeDirectory + "/" + display;
}

bool waylandAnswers() {
  const std::string path = waylandSocketPath();
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof(address.sun_path)) {
    return false;
  }
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int socketHandle = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socketHandle < 0) {
    return false;
  }
  sockaddr* generic = static_cast<sockaddr*>(static_cast<void*>(&address));
  const bool connected = ::connect(socketHandle, generic, sizeof(address)) == 0;
  ::close(socketHandle);
  return connected;
}

// One entry of QT_QPA_PLATFORM, without its ":options" part.
bool platformAnswers(std::string_view name) {
  if (name.starts_with("xcb")) {
    return x11Answers();
  }
  if (name.starts_with("wayland")) {
    return waylandAnswers();
  }
  // offscreen, minimal and the other platforms need no display server.
  return !name.empty();
}

// QT_QPA_PLATFORM may list several platforms, separated by ';', that Qt tries
// in turn.
bool anyPlatformAnswers(std::string_view platforms) {
  while (!platforms.empty()) {
    const auto end = platforms.find(';');
    const std::string_view entry = platforms.substr(0, end);
    if (platformAnswers(entry.substr(0, entry.find(':')))) {
      return true;
    }
    platforms = end == std::string_view::npos ? std::string_view() : platforms.substr(end + 1);
  }
  return false;
}

}  // namespace

bool displayAvailable() {
  const std::string platforms = environmentValue("QT_QPA_PLATFORM");
  if (!platforms.empty()) {
    return anyPlatformAnswers(platforms);
  }
  return waylandAnswers() || x11Answers();
}

}  // namespace gapmerge
