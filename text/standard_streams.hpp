#pragma once

// Descriptors 0, 1 and 2 held open for the whole run.
namespace gapmerge {

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed, as the
// program starts: else the first files it opens (the folder lock, the
// temporary fileout.txt) would take their numbers, and what it writes to
// standard error would land in them. False when /dev/null cannot be opened.
bool openClosedStandardStreams();

}  // namespace gapmerge
