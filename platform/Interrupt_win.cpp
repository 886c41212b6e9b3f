#include "platform/Interrupt.h"

#include <windows.h>

#include <atomic>
#include <csignal>

namespace kitloom {

namespace {
// Set on the thread that the console starts for the event; read by the job between tables.
std::atomic<bool> interrupted{false};

BOOL WINAPI noteConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    interrupted = true;
    return TRUE;
}

extern "C" void noteSignal(int)
{
    interrupted = true;
    std::signal(SIGINT, noteSignal);  // the runtime resets it to the default each time
}
}  // namespace

void watchForInterrupt()
{
    interrupted = false;
    SetConsoleCtrlHandler(noteConsoleEvent, TRUE);
    // The runtime's SIGINT too, as raise() and programs that signal the process use it.
    std::signal(SIGINT, noteSignal);
}

bool interruptRequested() { return interrupted; }

}  // namespace kitloom
