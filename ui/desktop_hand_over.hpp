#pragma once

#include <functional>
#include <string>

// Handing a document to the desktop's default application for its type.
namespace gapmerge {

// Opens file with the application the desktop associates with it, started in
// folder. The window is given one of these, so tests can stand in for it.
using HandOver = std::function<void(const std::string& file, const std::string& folder)>;

// Starts `xdg-open file` detached, in folder; whether it succeeds is not seen.
void openWithDesktop(const std::string& file, const std::string& folder);

}  // namespace gapmerge
