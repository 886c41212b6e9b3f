#pragma once

#include "core/SweepReport.h"

namespace kitloom {

// How a job ended, as one value for a front end to show: kitloom-cli's exit status comes
// from it alone.
enum class JobStatus {
    Succeeded,  // done, and nothing failed
    Failed,     // refused, or something failed: the messages say what
    Stopped,    // the progress callback stopped it after the table in hand
};

// A job on the saves that ran: succeeded only when it was done and no table failed.
inline JobStatus statusOf(const SweepReport& job)
{
    if (job.outcome == SweepOutcome::Stopped)
        return JobStatus::Stopped;
    return job.outcome == SweepOutcome::Done && !job.anyTableFailed() ? JobStatus::Succeeded : JobStatus::Failed;
}

}  // namespace kitloom
