#pragma once

#include <optional>
#include <string>
#include <string_view>

// Writing an export in one piece, so that a failed write never leaves half a
// file behind.
namespace gapmerge {

// Writes bytes to the file at path, which then holds either all of them or
// what it held before: they go to a temporary file in the same folder that
// is renamed into place once complete, and removed when anything fails (or a
// signal ends the process). A regular file that is replaced keeps its
// permission bits; a link is replaced by the file and what it pointed to is
// left as it was. A device or a pipe at path, or a link to one (a process
// substitution, /dev/stdout), has no folder entry to replace and is written
// directly. Returns the reason when the bytes could not be written.
std::optional<std::string> writeWholeFile(const std::string& path, std::string_view bytes);

// Writes bytes to standard output; the reason when they could not be written.
std::optional<std::string> writeStandardOutput(std::string_view bytes);

}  // namespace gapmerge
