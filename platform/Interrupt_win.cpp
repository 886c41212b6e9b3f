#include "platform/Interrupt.h"

#include <windows.h>

#include <atomic>
#include <csignal>

namespace kitloom {

namespace {
// Set on the thread that the console starts for the event; read by the job between tables.
std::atomic<int> interrupted{0};

// What a closed console window is told as: a closed terminal's hang-up.
constexpr int kHangUp = 1;
// Windows ends the process once the handler of a closing window returns, and waits about
// five seconds for it: long enough to finish the table in hand.
constexpr DWORD kClosingWaitMilliseconds = 4500;

BOOL WINAPI noteConsoleEvent(DWORD event)
{
    if (event == CTRL_CLOSE_EVENT) {
        interrupted = kHangUp;
        Sleep(kClosingWaitMilliseconds);
        return TRUE;
    }
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    interrupted = SIGINT;
    return TRUE;
}

extern "C" void noteSignal(int)
{
    interrupted = SIGINT;
    std::signal(SIGINT, noteSignal);  // the runtime resets it to the default each time
}
}  // namespace

void watchForInterrupt()
{
    interrupted = 0;
    SetConsoleCtrlHandler(noteConsoleEvent, TRUE);
    // The runtime's SIGINT too, as raise() and programs that signal the process use it.
    std::signal(SIGINT, noteSignal);
}

bool interruptRequested() { return interrupted != 0; }

int interruptSignal() { return interrupted; }

void ignoreFileSizeLimit() {}  // Windows has no such signal

const char* interruptName(int signal)
{
    if (signal == SIGTERM)
        return "SIGTERM";
    return signal == kHangUp ? "SIGHUP" : "Ctrl-C";
}

}  // namespace kitloom
