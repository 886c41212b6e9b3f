#pragma once

#include "core/TeamGearFile.h"
#include "form/JerseyForm.h"
#include "form/SystemMessages.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kitloom {

class FileSystem;
class Messages;

// Asks for a patch's two-letter prefix and its file name, refusing answers that
// patchInfoProblem() refuses for `jerseyName`; false when cancelled or given up.
class PatchInfoPrompt {
public:
    virtual ~PatchInfoPrompt() = default;
    virtual bool ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem) = 0;
};

// The Extra Patch Info dialog answered before it opens, as a script does. A refused answer
// cannot be corrected, so it ends the command, with the dialog's message.
class AnsweredPatchInfo final : public PatchInfoPrompt {
public:
    AnsweredPatchInfo(std::string prefix, std::string fileStem, Messages& messages)
        : prefix_(std::move(prefix)), fileStem_(std::move(fileStem)), messages_(messages)
    {
    }
    bool ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem) override;

private:
    std::string prefix_;
    std::string fileStem_;
    Messages& messages_;
};

// What Go! did: either the form was refused, and nothing ran, or the install's report.
struct GoOutcome {
    std::optional<MessageId> refused;
    JobReport job;
    bool installed() const { return !refused && job.outcome == JobOutcome::Done; }
};

// Go!: installs the jersey into the Save Slot's table, or into every numbered save of
// `gameFolder` (a path prefix, empty for the current folder).
GoOutcome installFromForm(const JerseyForm& form, FileSystem& fileSystem, const std::string& gameFolder = {},
                          const JobOptions& options = {});
// What the program shows after Go!: the form's problem, or the install's closing words.
std::vector<SystemMessage> goMessages(const GoOutcome& outcome);

// Make a Patch, telling `messages` each outcome. `readForm` gives the form as it is at the
// moment of the call: it is read before the prompt and again after it, since the form
// stays usable while the prompt is open.
bool writePatch(const std::function<JerseyForm()>& readForm, PatchInfoPrompt& prompt, FileSystem& fileSystem,
                Messages& messages);

}  // namespace kitloom
