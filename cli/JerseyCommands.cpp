// add and make-patch: the form's Go! and Make a Patch, with the form filled from options.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/FindGame.h"
#include "cli/JerseyOptions.h"
#include "cli/SaveReport.h"
#include "form/FormCommands.h"
#include "patch/PatchFormat.h"
#include "platform/FileSystem.h"
#include "platform/Interrupt.h"
#include "platform/Paths.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace kitloom::cli {

namespace {

struct AddOptions {
    JerseyForm form;
    std::string game;
    CLI::Option* gameOption = nullptr;
    bool dryRun = false;
};

int runAdd(AddOptions options, const CommandContext& context)
{
    if (const auto problem = jerseyOptionsProblem(options.form, context))
        return context.usage(*problem);
    const auto game = gameForCommand(context, options.gameOption, options.game, context.out);
    if (!game)
        return kExitFailure;
    watchForInterrupt();
    SaveReport report(context, options.dryRun);
    JobOptions job{options.dryRun, report.progress([&](const TableReport& table) { report.printAppend(table); })};
    const GoOutcome outcome = installFromForm(options.form, context.fileSystem, game->folder, job);
    if (outcome.refused) {
        showAll(report, goMessages(outcome));
    } else {
        report.noteUnvisited(outcome.job);
        if (outcome.job.outcome == JobOutcome::Stopped)
            return report.stopNow();
        report.closeInstall(outcome.job);
    }
    if (!outcome.installed())
        report.hintAtSlot(options.form.saveSlot);
    return outcome.refused ? kExitFailure : jobStatus(outcome.job);
}

struct MakePatchOptions {
    JerseyForm form;
    std::string prefix;
    std::string fileStem;
};

int runMakePatch(MakePatchOptions options, const CommandContext& context)
{
    auto problem = jerseyOptionsProblem(options.form, context);
    if (!problem)
        problem = context.toTableText(options.prefix, "--prefix");
    if (!problem && patchInfoProblem(options.prefix, options.fileStem, options.form.jerseyName)) {
        const bool stemFits = !options.fileStem.empty() && options.fileStem.size() <= patchformat::kMaxFileStemLength;
        problem = std::string(stemFits ? "--prefix (with --name, the images' names)" : "--file") + ": " +
                  systemMessage(MessageId::InvalidField).text;
    }
    if (problem)
        return context.usage(*problem);
    TerminalMessages messages(context.out, context.err);
    AnsweredPatchInfo prompt(options.prefix, options.fileStem, messages);
    const std::string patchFile = options.fileStem + ".jer";
    const bool replacing = !options.fileStem.empty() && context.fileSystem.exists(patchFile);
    const bool written = writePatch([&options] { return options.form; }, prompt, context.fileSystem, messages);
    if (written && replacing)
        context.out << "replaced " << patchFile << std::endl;
    return written && messages.errorCount() == 0 ? kExitSuccess : kExitFailure;
}

}  // namespace

CommandRun addAddCommand(CLI::App& app)
{
    auto options = std::make_shared<AddOptions>();
    CLI::App* command = addCommand(
        app, "add", "put a jersey into the saves, as Go! does",
        "Appends the jersey to saves/SLOT/teamgear.dbf, or without --slot to the table of every\n"
        "numbered save folder from 000 up to the first one missing, and tells what became of each.\n" +
            std::string(kListValueNote));
    addSlotOption(*command, options->form.saveSlot, "Save Slot: the save folder saves/SLOT only, named as typed");
    options->gameOption = addGameOption(*command, options->game);
    addDryRunFlag(*command, options->dryRun);
    addJerseyOptions(*command, options->form);
    return [options](const CommandContext& context) { return runAdd(*options, context); };
}

CommandRun addMakePatchCommand(CLI::App& app)
{
    auto options = std::make_shared<MakePatchOptions>();
    CLI::App* command = addCommand(
        app, "make-patch", "write a jersey patch (.jer), as Make a Patch does",
        "Writes STEM.jer, naming the images XXNAME.fsh and XXNAME_num.fsh (it does not copy them).\n"
        "A patch of that name is replaced, and the report says so.\n" +
            std::string(kListValueNote));
    command->add_option("--prefix", options->prefix, "the 2-character prefix of the jersey's image names")->type_name("XX");
    command->add_option("--file", options->fileStem, "the patch is written as STEM.jer (1 to 75 characters)")
        ->type_name("STEM");
    addJerseyOptions(*command, options->form);
    return [options](const CommandContext& context) { return runMakePatch(*options, context); };
}

}  // namespace kitloom::cli
