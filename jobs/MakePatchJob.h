#pragma once

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
    virtual std::optional<FormProblem> refusal() const { return std::nullopt; }
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
    std::optional<FormProblem> refusal() const override { return refusal_; }

private:
    std::string prefix_;
    std::string fileStem_;
    std::optional<FormProblem> refusal_;
};

struct MakePatchResult {
    std::optional<FormProblem> refused;  // the form's or the prompt's problem, when one ended the job
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
