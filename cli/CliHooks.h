#pragma once

#include "jobs/JobHooks.h"

namespace kitloom::cli {

// kitloom-cli's way through a job: the game is searched for and a choice kept, an install
// can be repeated without a second record, and the installer looks ahead and says why.
extern const JobHooks kCliHooks;

}  // namespace kitloom::cli
