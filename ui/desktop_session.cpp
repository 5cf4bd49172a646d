#include "ui/desktop_session.hpp"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <QApplication>

#include <QLibraryInfo>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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
  std::string display = environmentValue("WAYLAND_DISPLAY");
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
  auto* generic = static_cast<sockaddr*>(static_cast<void*>(&address));
  const bool connected = ::connect(socketHandle, generic, sizeof(address)) == 0;
  ::close(socketHandle);
  return connected;
}

// The entries of a list such as "a;b" or "a:b"; empty ones are left out.
std::vector<std::string_view> splitList(std::string_view list, char separator) {
  std::vector<std::string_view> entries;
  while (!list.empty()) {
    const auto end = list.find(separator);
    if (end != 0) {
      entries.push_back(list.substr(0, end));
    }
    list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
  }
  return entries;
}

// Where Qt looks for platform plugins: the folder QT_QPA_PLATFORM_PLUGIN_PATH
// names, then "platforms" below each plugin folder (those of QT_PLUGIN_PATH,
// Qt's own and the program's).
std::vector<std::filesystem::path> platformPluginFolders() {
  std::vector<std::filesystem::path> folders;
  if (const std::string direct = environmentValue("QT_QPA_PLATFORM_PLUGIN_PATH"); !direct.empty()) {
    folders.emplace_back(direct);
  }
  const std::string pluginPath = environmentValue("QT_PLUGIN_PATH");
  for (const auto folder : splitList(pluginPath, ':')) {
    folders.push_back(std::filesystem::path(folder) / "platforms");
  }
  folders.push_back(
      std::filesystem::path(QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString()) /
      "platforms");
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    folders.push_back(program.parent_path() / "platforms");
  }
  return folders;
}

// Whether a plugin file for the platform is installed. Its file is named after
// the platform: libqxcb.so for xcb, libqwayland-generic.so for wayland.
bool pluginInstalled(std::string_view platform) {
  const std::string prefix = "libq" + std::string(platform);
  for (const auto& folder : platformPluginFolders()) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
      const std::string name = it->path().filename().string();
      if (name.starts_with(prefix) && (name[prefix.size()] == '.' || name[prefix.size()] == '-')) {
        return true;
      }
    }
  }
  return false;
}

// One entry of QT_QPA_PLATFORM, without its ":options" part: its plugin is
// installed, and the display server it needs answers.
bool platformAnswers(std::string_view name) {
  if (name.empty() || !pluginInstalled(name)) {
    return false;
  }
  if (name.starts_with("xcb")) {
    return x11Answers();
  }
  if (name.starts_with("wayland")) {
    return waylandAnswers();
  }
  // offscreen, minimal and the other platforms need no display server.
  return true;
}

}  // namespace

// QT_QPA_PLATFORM may list several platforms, separated by ';', that Qt tries
// in turn; without it Qt tries Wayland, then X11.
bool displayAvailable() {
  std::string platforms = environmentValue("QT_QPA_PLATFORM");
  if (platforms.empty()) {
    platforms = "wayland;xcb";
  }
  return std::ranges::any_of(splitList(platforms, ';'), [](std::string_view entry) {
    return platformAnswers(entry.substr(0, entry.find(':')));
  });
}

DesktopSession::DesktopSession(char* programName) : arguments_{programName, nullptr} {}

DesktopSession::~DesktopSession() = default;

// The program runs its own event loops and ends when the result window is
// done, not when the folder dialog, its first window, closes.
bool DesktopSession::start() {
  if (application_) {
    return true;
  }
  if (!displayAvailable()) {
    return false;
  }
  application_ = std::make_unique<QApplication>(argumentCount_, arguments_.data());
  QApplication::setQuitOnLastWindowClosed(false);
  return true;
}

}  // namespace gapmerge
