#pragma once

#include <functional>
#include <string>

// Handing a document to the desktop's default application for its type.
namespace gapmerge {

// Opens file with the application the desktop associates with it, started in
// folder; false when the file could not be handed to the desktop. The window
// is given one of these, so tests can stand in for it.
using HandOver = std::function<bool(const std::string& file, const std::string& folder)>;

// Starts `xdg-open file` detached, in folder; false when xdg-open could not
// be started. Whether xdg-open then finds an application is not seen.
bool openWithDesktop(const std::string& file, const std::string& folder);

}  // namespace gapmerge
