#pragma once

// Whether the Qt platform that the environment selects can start. Qt ends the
// process when its platform plugin fails, so this is decided before any Qt
// object is made, from the environment and a trial connection to the display.
namespace gapmerge {

bool displayAvailable();

}  // namespace gapmerge
