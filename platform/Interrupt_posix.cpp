#include "platform/Interrupt.h"

#include <csignal>

namespace kitloom {

namespace {
// What a signal handler may set; read by the job between tables.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void noteInterrupt(int) { interrupted = 1; }
}  // namespace

void watchForInterrupt()
{
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    action.sa_flags = SA_RESTART;  // a read or write in progress finishes as usual
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

bool interruptRequested() { return interrupted != 0; }

}  // namespace kitloom
