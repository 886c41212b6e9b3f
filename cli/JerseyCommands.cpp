// add and make-patch: the form's Go! and Make a Patch, with the form filled from options.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/JerseyOptions.h"
#include "cli/SaveReport.h"
#include "core/GamePaths.h"
#include "form/FormCommands.h"
#include "platform/FileSystem.h"
#include "platform/Interrupt.h"
#include "platform/Paths.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace kitloom::cli {

namespace {

// The Extra Patch Info dialog, answered by --prefix and --file. A refused answer cannot
// be corrected here, so it ends the command.
class OptionsPatchInfo final : public PatchInfoPrompt {
public:
    OptionsPatchInfo(std::string prefix, std::string fileStem, Messages& messages)
        : prefix_(std::move(prefix)), fileStem_(std::move(fileStem)), messages_(messages)
    {
    }

    bool ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem) override
    {
        if (const auto problem = patchInfoProblem(prefix_, fileStem_, jerseyName)) {
            showError(messages_, std::string(*problem));
            return false;
        }
        prefix = prefix_;
        fileStem = fileStem_;
        return true;
    }

private:
    std::string prefix_;
    std::string fileStem_;
    Messages& messages_;
};

struct AddOptions {
    JerseyForm form;
    std::string game;
    bool dryRun = false;
};

int runAdd(const AddOptions& options, const CommandContext& context)
{
    watchForInterrupt();
    SaveReport report(context.out, context.err, options.dryRun);
    const std::string game = withClosingSeparator(options.game);
    const bool installed = installFromForm(options.form, context.fileSystem, report, game, &report, options.dryRun);
    if (report.stopped())
        return report.stopNow();
    if (!installed)
        report.hintAtSlot(options.form.saveSlot);
    return installed && !report.anyError() ? kExitSuccess : kExitFailure;
}

struct MakePatchOptions {
    JerseyForm form;
    std::string prefix;
    std::string fileStem;
};

int runMakePatch(const MakePatchOptions& options, const CommandContext& context)
{
    TerminalMessages messages(context.out, context.err);
    OptionsPatchInfo prompt(options.prefix, options.fileStem, messages);
    const std::string patchFile = options.fileStem + ".jer";
    const bool replacing = !options.fileStem.empty() && context.fileSystem.exists(patchFile);
    const bool written =
        writePatch([&options] { return options.form; }, prompt, context.fileSystem, messages);
    if (written && replacing)
        context.out << "replaced " << patchFile << std::endl;
    return written && messages.errorCount() == 0 ? kExitSuccess : kExitFailure;
}

}  // namespace

CommandRun addAddCommand(CLI::App& app, const std::string& encoding)
{
    auto options = std::make_shared<AddOptions>();
    CLI::App* command = addCommand(
        app, "add", "put a jersey into the saves, as Go! does",
        "Appends the jersey to saves/SLOT/teamgear.dbf, or without --slot to the table of every\n"
        "numbered save folder from 000 up to the first one missing, and tells what became of each.\n" +
            std::string(kListValueNote));
    addSlotOption(*command, options->form.saveSlot, "Save Slot: the save folder saves/SLOT only, named as typed");
    addGameOption(*command, options->game);
    addDryRunFlag(*command, options->dryRun);
    addJerseyOptions(*command, options->form, encoding);
    return [options](const CommandContext& context) { return runAdd(*options, context); };
}

CommandRun addMakePatchCommand(CLI::App& app, const std::string& encoding)
{
    auto options = std::make_shared<MakePatchOptions>();
    CLI::App* command = addCommand(
        app, "make-patch", "write a jersey patch (.jer), as Make a Patch does",
        "Writes STEM.jer, naming the images XXNAME.fsh and XXNAME_num.fsh (it does not copy them).\n"
        "A patch of that name is replaced, and the report says so.\n" +
            std::string(kListValueNote));
    command->add_option("--prefix", options->prefix, "the 2-character prefix of the jersey's image names")
        ->type_name("XX")
        ->transform(codePage1252Text(encoding));
    command->add_option("--file", options->fileStem, "the patch is written as STEM.jer (1 to 75 characters)")
        ->type_name("STEM");
    addJerseyOptions(*command, options->form, encoding);
    return [options](const CommandContext& context) { return runMakePatch(*options, context); };
}

}  // namespace kitloom::cli
