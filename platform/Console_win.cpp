#include "platform/Console.h"

#include <windows.h>

namespace kitloom {

bool consoleIsOwnedAlone()
{
    // A terminal's shell is attached to the same console; room for two is enough to tell.
    DWORD processes[2] = {};
    return GetConsoleProcessList(processes, 2) == 1;
}

}  // namespace kitloom
