#pragma once

#include "jobs/JobHooks.h"

namespace kitloom {

// kitloom.exe's own way through a job: the game is the folder given, else the patch's
// folder in patch mode, else the current folder; every install appends; no look ahead.
extern const JobHooks kProgramHooks;

}  // namespace kitloom
