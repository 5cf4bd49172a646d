#pragma once

// The order in which reports are processed: by the ordering key of their
// paths, the path read with "\" for "/" and "#" for "_" and decoded from
// UTF-8 into UTF-16, compared code unit by code unit. A byte that starts no
// valid UTF-8 sequence reads as the unit U+DC00 + byte, so every path has a key.
namespace gapmerge {

// True when the key of the path a (ended by NUL) sorts before that of b. The
// keys are not built: the paths are compared byte by byte up to their first
// difference and decoded only from the character that holds it.
bool keyLess(const char* a, const char* b);

}  // namespace gapmerge
