#include "jobs/FormJobs.h"

#include "core/GamePaths.h"
#include "patch/PatchFormat.h"
#include "patch/PatchWriter.h"
#include "platform/FileSystem.h"

namespace kitloom {

bool AnsweredPatchInfo::ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem)
{
    refusal_ = patchInfoProblem(prefix_, fileStem_, jerseyName);
    if (refusal_)
        return false;
    prefix = prefix_;
    fileStem = fileStem_;
    return true;
}

AddResult addJersey(FileSystem& fileSystem, const AddRequest& request)
{
    AddResult result;
    const JerseyForm& form = request.form;
    result.refused = jerseyFormProblem(form);
    if (!result.refused && form.saveSlot.size() > kMaxSaveSlotLength)
        result.refused = MessageId::InvalidSaveSlot;
    if (result.refused) {
        result.messages.push_back(systemMessage(*result.refused));
        return result;
    }
    result.game = decideGame(fileSystem, request.game);
    if (!gameDecided(result.game))
        return result;
    const std::string& game = result.game.folder;
    const SaveTarget target = form.saveSlot.empty() ? SaveTarget::everyNumberedSave(game)
                                                    : SaveTarget::namedSave(game, form.saveSlot);
    result.job = TableJobs(fileSystem, request.options).installJersey(target, readJerseyForm(form, ShoeCode::Installed));
    result.messages = installMessages(result.job);
    result.status = statusOf(result.job);
    return result;
}

MakePatchResult makePatch(const std::function<JerseyForm()>& readForm, PatchInfoPrompt& prompt, FileSystem& fileSystem)
{
    MakePatchResult result;
    std::string prefix;
    std::string fileStem;
    std::optional<MessageId> problem;
    {
        const JerseyForm asked = readForm();
        problem = jerseyFormProblem(asked);
        if (!problem && !prompt.ask(asked.jerseyName, prefix, fileStem)) {
            if (const auto refusal = prompt.refusal())
                result.messages.push_back(systemMessage(*refusal));
            return result;
        }
    }
    if (!problem) {
        // Whatever changed while the prompt was open is checked again; the images must
        // still get plain names.
        const JerseyForm form = readForm();
        problem = jerseyFormProblem(form);
        if (!problem)
            problem = patchInfoProblem(prefix, fileStem, form.jerseyName);
        if (!problem) {
            result.replaced = fileSystem.exists(fileStem + patchformat::kExtension);
            const PatchWriteReport written = writePatchFile(prefix, fileStem, readJerseyForm(form, ShoeCode::InPatch),
                                                            fileSystem);
            result.written = written.written;
            result.replaced = result.replaced && written.written;
            result.fileName = written.fileName;
            result.messages.push_back(systemMessage(
                written.written ? MessageId::PatchCreated : MessageId::CannotWritePatch, {written.fileName}));
            result.status = written.written ? JobStatus::Succeeded : JobStatus::Failed;
            return result;
        }
    }
    result.messages.push_back(systemMessage(*problem));
    return result;
}

}  // namespace kitloom
