#pragma once

// Whether the Qt platform that the environment selects can start. Qt ends the
// process when its platform plugin is missing or fails, so this is decided
// before any Qt object is made, from the environment, the plugin files where Qt
// would load them and a trial connection to the display.
namespace gapmerge {

bool displayAvailable();

}  // namespace gapmerge
