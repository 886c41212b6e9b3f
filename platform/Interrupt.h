#pragma once

namespace kitloom {

// Ctrl-C, and a request to end such as SIGTERM or a closed terminal's SIGHUP, during a long
// job: instead of ending the process at once, it asks the job to stop after the table in
// hand, so that the job can tell what it changed. Only a console program watches for it;
// the form never does.
void watchForInterrupt();
bool interruptRequested();
// The signal that asked to stop (SIGINT for Ctrl-C and Ctrl-Break); 0 for none.
int interruptSignal();
// What asked to stop, as the user knows it: "Ctrl-C", "SIGTERM" or "SIGHUP" (also a closed
// console window's).
const char* interruptName(int signal);

// A write past the file-size limit fails like any other failed write, to be rolled back,
// instead of ending the process in the middle of it.
void ignoreFileSizeLimit();

}  // namespace kitloom
