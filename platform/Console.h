#pragma once

namespace kitloom {

// True when this process's console window is its own alone: it was started from Explorer
// (a double-click), not from a terminal, so the window closes the moment it ends. Always
// false outside Windows.
bool consoleIsOwnedAlone();

}  // namespace kitloom
