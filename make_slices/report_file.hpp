#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Writing slice reports whole: a report name holds a complete report or
// nothing, even when the run is killed or the disk fills up.
namespace make_slices {

// Writes text as the report at path: to a new file in the same folder under a
// temporary name that begins with "." (never taken for a report), synced to
// the disk, then renamed to path, which replaces a regular file of that name.
// A symbolic link or anything else that is not a regular file at path is left
// as it is and refused. Returns the reason when the report was not written;
// the temporary file is then removed.
std::optional<std::string> writeReport(const std::filesystem::path& path, std::string_view text);

// Syncs the entries of folder to the disk, so that the renames of the reports
// written there last; the reason when that failed.
std::optional<std::string> syncFolder(const std::filesystem::path& folder);

}  // namespace make_slices
