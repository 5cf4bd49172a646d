#pragma once

#include <optional>
#include <string>

// The dialog that asks for the folder to merge in.
namespace gapmerge {

// Shows a folder dialog (Qt must run) that opens at startFolder or, when that
// is empty or no folder, at the folder chosen last, else at the current
// folder. The chosen folder is kept in the user's settings for the next time.
// Nothing when the dialog was cancelled.
std::optional<std::string> chooseFolder(const std::string& startFolder);

}  // namespace gapmerge
