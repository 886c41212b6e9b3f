#pragma once

#include "core/SaveSweep.h"
#include "jobs/GameDecision.h"
#include "jobs/JerseyForm.h"
#include "jobs/JobStatus.h"
#include "jobs/SystemMessages.h"

#include <optional>
#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

// Go! and add: the form, the game it goes into, and how the job goes.
struct AddRequest {
    JerseyForm form;
    GamePolicy game;
    bool dryRun = false;              // nothing is written, yet every table reports what a real run would give it
    const JobHooks* hooks = nullptr;  // the program's or kitloom-cli's: never null
    JobObserver* observer = nullptr;
    TableWitness* witness = nullptr;  // sees every table before and after it changes
};

struct AddResult {
    std::optional<FormProblem> refused;   // the form's problem: then nothing else happened
    GameChoice game;                      // when the form was fine
    SweepReport job;                      // when the game was decided
    std::vector<SystemMessage> messages;  // what the program shows: the form's problem, or the install's closing words
    JobStatus status = JobStatus::Failed;
    // The Save Slot looks like a numbered save written short ("1") and its table was not
    // found: the name numbered saves have ("001").
    std::optional<std::string> slotWrittenShort;
    bool installed() const { return !refused && job.outcome == SweepOutcome::Done; }
};

// Go!: installs the jersey into the Save Slot's table, or into every numbered save of the game.
AddResult addJersey(FileSystem& fileSystem, const AddRequest& request);

}  // namespace kitloom
