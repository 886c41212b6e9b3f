#include "form/FormCommands.h"

#include "core/GamePaths.h"
#include "core/TeamGearFile.h"
#include "patch/PatchWriter.h"
#include "platform/Messages.h"

namespace kitloom {

namespace {

// Shows the form's first problem; true when there was none.
bool formAccepted(const JerseyForm& form, Messages& messages)
{
    if (const auto problem = jerseyFormProblem(form)) {
        showError(messages, std::string(*problem));
        return false;
    }
    return true;
}

}  // namespace

bool installFromForm(const JerseyForm& form, FileSystem& fileSystem, Messages& messages, const std::string& gameFolder,
                     TableObserver* observer, bool dryRun)
{
    if (!formAccepted(form, messages))
        return false;
    if (form.saveSlot.size() > kMaxSaveSlotLength) {
        showError(messages, "Invalid Save Slot");
        return false;
    }

    TeamGearFile teamGear(fileSystem, messages, gameFolder);
    teamGear.setObserver(observer);
    teamGear.setDryRun(dryRun);
    const JerseySpec spec = readJerseyForm(form, ShoeCode::Installed);
    std::string tablePath;
    if (!form.saveSlot.empty()) {
        tablePath = namedSaveTablePath(gameFolder, form.saveSlot);
        return teamGear.installJersey(tablePath, spec, true);
    }
    return teamGear.installJersey(tablePath, spec, false);
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
        showError(messages, std::string(*problem));
        return false;
    }
    return writePatchFile(prefix, fileStem, readJerseyForm(form, ShoeCode::InPatch), fileSystem, messages);
}

}  // namespace kitloom
