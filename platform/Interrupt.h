#pragma once

namespace kitloom {

// Ctrl-C during a long job: instead of ending the process at once, it asks the job to stop
// after the table in hand, so that the job can tell what it changed. Only a console
// program watches for it; the form never does.
void watchForInterrupt();
bool interruptRequested();

}  // namespace kitloom
