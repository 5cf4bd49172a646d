#pragma once

#include <string>

// Temporary files that must not outlive an interrupted run. A file is noted
// here while it is being written and forgotten once it was renamed into place
// or removed; a signal that ends the process removes every file noted.
namespace gapmerge {

// The most temporary files noted at once: the merged file and three exports.
constexpr int temporaryFileSlots = 8;

// Notes path; returns its slot, or -1 when every slot is taken or the path is
// too long to note (the file is then not removed by a signal).
int noteTemporaryFile(const std::string& path);

// Forgets the file of a slot that noteTemporaryFile returned (-1: nothing).
void forgetTemporaryFile(int slot);

// Makes SIGINT, SIGTERM and SIGHUP remove the noted files, then end the
// process as that signal would have (so that a shell sees 128 + its number).
void removeTemporaryFilesOnSignals();

}  // namespace gapmerge
