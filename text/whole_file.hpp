#pragma once

#include <optional>
#include <string>
#include <string_view>

// Writing a file in one piece, so that a failed write or an interrupted run
// never leaves half a file behind. A file is noted here while it is being
// written under a temporary name and forgotten once it was renamed into place
// or removed; a signal that ends the process removes every file noted.
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

// Writes bytes to an open descriptor as it stands (standard output: 1); the
// reason when they could not be written.
std::optional<std::string> writeDescriptor(int fd, std::string_view bytes);

// Removes, from folder ("" for the current one), the temporary files
// ".gapmerge-<pid>-<n>.tmp" that writeWholeFile left when its process was
// killed: those whose process no longer runs. writeWholeFile does so in the
// folder of every file it replaces.
void removeLeftExportTemporaries(const std::string& folder);

// The most temporary files noted at once: the merged file and three exports,
// with room to spare.
constexpr int temporaryFileSlots = 8;

// Notes path; returns its slot, or -1 when every slot is taken or the path is
// too long to note (the file is then not removed by a signal).
int noteTemporaryFile(const std::string& path);

// Forgets the file of a slot that noteTemporaryFile returned (-1: nothing).
void forgetTemporaryFile(int slot);

// Removes every noted file; safe in a signal handler and on any thread.
void removeNotedTemporaryFiles();

// Makes SIGINT, SIGTERM and SIGHUP remove the noted files, then end the
// process as that signal would have (so that a shell sees 128 + its number).
void removeTemporaryFilesOnSignals();

}  // namespace gapmerge
