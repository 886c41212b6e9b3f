#include "form/FormCommands.h"

#include "form/Messages.h"
#include "patch/PatchWriter.h"

namespace kitloom {

namespace {

// Shows the form's first problem; true when there was none.
bool formAccepted(const JerseyForm& form, Messages& messages)
{
    if (const auto problem = jerseyFormProblem(form)) {
        show(messages, systemMessage(*problem));
        return false;
    }
    return true;
}

}  // namespace

bool AnsweredPatchInfo::ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem)
{
    if (const auto problem = patchInfoProblem(prefix_, fileStem_, jerseyName)) {
        show(messages_, systemMessage(*problem));
        return false;
    }
    prefix = prefix_;
    fileStem = fileStem_;
    return true;
}

GoOutcome installFromForm(const JerseyForm& form, FileSystem& fileSystem, const std::string& gameFolder,
                          const JobOptions& options)
{
    GoOutcome outcome;
    outcome.refused = jerseyFormProblem(form);
    if (!outcome.refused && form.saveSlot.size() > kMaxSaveSlotLength)
        outcome.refused = MessageId::InvalidSaveSlot;
    if (outcome.refused)
        return outcome;

    const SaveTarget target = form.saveSlot.empty() ? SaveTarget::everyNumberedSave(gameFolder)
                                                    : SaveTarget::namedSave(gameFolder, form.saveSlot);
    outcome.job = TeamGearFile(fileSystem, options).installJersey(target, readJerseyForm(form, ShoeCode::Installed));
    return outcome;
}

std::vector<SystemMessage> goMessages(const GoOutcome& outcome)
{
    if (outcome.refused)
        return {systemMessage(*outcome.refused)};
    return installMessages(outcome.job);
}

bool writePatch(const std::function<JerseyForm()>& readForm, PatchInfoPrompt& prompt, FileSystem& fileSystem,
                Messages& messages)
{
    const JerseyForm asked = readForm();
    if (!formAccepted(asked, messages))
        return false;
    std::string prefix;
    std::string fileStem;
    if (!prompt.ask(asked.jerseyName, prefix, fileStem))
        return false;
    // Whatever changed while the prompt was open is checked again; the images must
    // still get plain names.
    const JerseyForm form = readForm();
    if (!formAccepted(form, messages))
        return false;
    if (const auto problem = patchInfoProblem(prefix, fileStem, form.jerseyName)) {
        show(messages, systemMessage(*problem));
        return false;
    }
    const PatchWriteReport written = writePatchFile(prefix, fileStem, readJerseyForm(form, ShoeCode::InPatch),
                                                    fileSystem);
    show(messages,
         systemMessage(written.written ? MessageId::PatchCreated : MessageId::CannotWritePatch, {written.fileName}));
    return written.written;
}

}  // namespace kitloom
