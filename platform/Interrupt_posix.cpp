#include "platform/Interrupt.h"

#include <csignal>
#include <initializer_list>

namespace kitloom {

namespace {
// What a signal handler may set; read by the job between tables.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void noteInterrupt(int signal) { interrupted = signal; }
}  // namespace

void watchForInterrupt()
{
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    action.sa_flags = SA_RESTART;  // a read or write in progress finishes as usual
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

bool interruptRequested() { return interrupted != 0; }

int interruptSignal() { return interrupted; }

void ignoreFileSizeLimit() { std::signal(SIGXFSZ, SIG_IGN); }

const char* interruptName(int signal)
{
    if (signal == SIGTERM)
        return "SIGTERM";
    return signal == SIGHUP ? "SIGHUP" : "Ctrl-C";
}

}  // namespace kitloom
