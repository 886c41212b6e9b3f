#include "platform/Console.h"

namespace kitloom {

// Only a Windows console closes together with the program it was opened for.
bool consoleIsOwnedAlone() { return false; }

}  // namespace kitloom
