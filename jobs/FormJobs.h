#pragma once

#include "core/TableJobs.h"
#include "jobs/GamePolicy.h"
#include "jobs/JerseyForm.h"
#include "jobs/JobStatus.h"
#include "jobs/SystemMessages.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kitloom {

class FileSystem;

// Asks for a patch's two-letter prefix and its file name, refusing answers that
// patchInfoProblem() refuses for `jerseyName`; false when cancelled or given up.
class PatchInfoPrompt {
public:
    virtual ~PatchInfoPrompt() = default;
    virtual bool ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem) = 0;
    // After a false ask(): the refusal that ended it, when it was not told already.
    virtual std::optional<MessageId> refusal() const { return std::nullopt; }
};

// The Extra Patch Info dialog answered before it opens, as a script does. A refused answer
// cannot be corrected, so it ends the job, with the dialog's message.
class AnsweredPatchInfo final : public PatchInfoPrompt {
public:
    AnsweredPatchInfo(std::string prefix, std::string fileStem)
        : prefix_(std::move(prefix)), fileStem_(std::move(fileStem))
    {
    }
    bool ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem) override;
    std::optional<MessageId> refusal() const override { return refusal_; }

private:
    std::string prefix_;
    std::string fileStem_;
    std::optional<MessageId> refusal_;
};

// Go! and add: the form, the game it goes into, and how the job goes.
struct AddRequest {
    JerseyForm form;
    GamePolicy game;  // the program's: the current folder
    JobOptions options;
};

struct AddResult {
    std::optional<MessageId> refused;     // the form's problem: then nothing else happened
    GameChoice game;                      // when the form was fine
    JobReport job;                        // when the game was decided
    std::vector<SystemMessage> messages;  // what the program shows: the form's problem, or the install's closing words
    JobStatus status = JobStatus::Failed;
    bool installed() const { return !refused && job.outcome == JobOutcome::Done; }
};

// Go!: installs the jersey into the Save Slot's table, or into every numbered save of the game.
AddResult addJersey(FileSystem& fileSystem, const AddRequest& request);

struct MakePatchResult {
    bool written = false;
    bool replaced = false;  // a patch of that name was there before, and is no more
    std::string fileName;   // once asked for
    std::vector<SystemMessage> messages;
    JobStatus status = JobStatus::Failed;
};

// Make a Patch. `readForm` gives the form as it is at the moment of the call: it is read
// before the prompt and again after it, since the form stays usable while the prompt is open.
MakePatchResult makePatch(const std::function<JerseyForm()>& readForm, PatchInfoPrompt& prompt, FileSystem& fileSystem);

}  // namespace kitloom
