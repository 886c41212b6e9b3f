#include "jobs/AddJob.h"

#include "core/GamePaths.h"

namespace kitloom {

AddResult addJersey(FileSystem& fileSystem, const AddRequest& request)
{
    AddResult result;
    const JerseyForm& form = request.form;
    result.refused = jerseyFormProblem(form);
    if (!result.refused && form.saveSlot.size() > kMaxSaveSlotLength)
        result.refused = FormProblem{MessageId::InvalidSaveSlot, FormField::SaveSlot};
    if (result.refused) {
        result.messages.push_back(systemMessage(result.refused->message));
        return result;
    }
    result.game = decideGame(fileSystem, *request.hooks, request.observer, request.game);
    if (!gameDecided(result.game))
        return result;
    // Go! always adds a record, whatever the table holds.
    result.job = SaveSweep(fileSystem, {request.dryRun, tablesToldTo(request.observer), request.witness})
                     .append(SaveTarget::ofSaveSlot(result.game.folder, form.saveSlot),
                             readJerseyForm(form, ShoeCode::Installed));
    result.messages = installMessages(result.job);
    result.status = statusOf(result.job);
    if (!result.installed() && result.status != JobStatus::Stopped)
        result.slotWrittenShort = numberedSaveNameFor(form.saveSlot);
    return result;
}

}  // namespace kitloom
