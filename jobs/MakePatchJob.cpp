#include "jobs/MakePatchJob.h"

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

MakePatchResult makePatch(const std::function<JerseyForm()>& readForm, PatchInfoPrompt& prompt, FileSystem& fileSystem)
{
    MakePatchResult result;
    std::string prefix;
    std::string fileStem;
    {
        const JerseyForm asked = readForm();
        result.refused = jerseyFormProblem(asked);
        if (!result.refused && !prompt.ask(asked.jerseyName, prefix, fileStem)) {
            result.refused = prompt.refusal();
            if (result.refused)
                result.messages.push_back(systemMessage(result.refused->message));
            return result;
        }
    }
    if (!result.refused) {
        // Whatever changed while the prompt was open is checked again; the images must
        // still get plain names.
        const JerseyForm form = readForm();
        result.refused = jerseyFormProblem(form);
        if (!result.refused)
            result.refused = patchInfoProblem(prefix, fileStem, form.jerseyName);
        if (!result.refused) {
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
    result.messages.push_back(systemMessage(result.refused->message));
    return result;
}

}  // namespace kitloom
