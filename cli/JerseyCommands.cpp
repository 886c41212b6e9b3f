// add and make-patch: the form's Go! and Make a Patch, with the form filled from options.
#include "cli/Cli.h"
#include "cli/CliHooks.h"
#include "cli/Commands.h"
#include "cli/JerseyOptions.h"
#include "cli/JobRecord.h"
#include "cli/JobReporter.h"
#include "cli/PackReport.h"
#include "jobs/AddJob.h"
#include "jobs/MakePatchJob.h"
#include "jobs/PackJob.h"
#include "patch/PatchFormat.h"
#include "platform/Interrupt.h"
#include "text/TerminalEscape.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace kitloom::cli {

namespace {

struct AddOptions {
    JerseyForm form;
    std::string game;
    CLI::Option* gameOption = nullptr;
    bool dryRun = false;
    bool noJournal = false;
};

// The jersey options a command cannot go without, each named when missing, so that one try
// tells them all.
std::optional<std::string> missingJerseyOptions(const JerseyForm& form)
{
    std::vector<const char*> missing;
    if (form.teamNumber.empty())
        missing.push_back("--team");
    if (form.jerseyName.empty())
        missing.push_back("--name");
    if (form.year.empty())
        missing.push_back("--year");
    if (missing.empty())
        return std::nullopt;
    std::string text;
    for (std::size_t i = 0; i < missing.size(); ++i)
        text += std::string(i == 0 ? "" : i + 1 == missing.size() ? " and " : ", ") + missing[i];
    return text + (missing.size() == 1 ? " is" : " are") +
           " needed: a jersey has a Team Number (--team 5), a Jersey Name of 4 characters (--name ABCD) and a Year "
           "of 7 (--year 1998-99)";
}

int runAdd(AddOptions options, const CommandContext& context)
{
    if (const auto missing = missingJerseyOptions(options.form))
        return context.usage(*missing);
    if (const auto problem = toTableTexts(options.form, context))
        return context.usage(*problem);
    watchForInterrupt();
    JobReporter report(context, options.dryRun, context.out);
    JobRecord record(context, options.dryRun, options.noJournal);
    if (record.refused())
        return kExitFailure;
    const AddResult added = addJersey(context.fileSystem, {options.form, gamePolicy(options.gameOption, options.game),
                                                           options.dryRun, &kCliHooks, &report, record.journal()});
    record.finish(added.status == JobStatus::Succeeded,
                  {recordedJersey(options.form.jerseyName, options.form.year, options.form.teamNumber)});
    if (added.refused)
        return context.usage(refusalText(*added.refused));
    if (!gameDecided(added.game))
        return kExitFailure;
    report.say(unvisitedLines(added.job));
    if (added.status == JobStatus::Stopped)
        return report.stopNow();
    report.say(installClosing(added.job, options.dryRun));
    report.say(slotHint(added.slotWrittenShort));
    return exitStatus(added.status);
}

struct MakePatchOptions {
    JerseyForm form;
    std::string prefix;
    std::string fileStem;
    bool zip = false;
};

int runMakePatch(MakePatchOptions options, const CommandContext& context)
{
    auto problem = missingJerseyOptions(options.form);
    if (!problem)
        problem = toTableTexts(options.form, context);
    if (!problem)
        problem = context.toTableText(options.prefix, optionOf(FormField::Prefix));
    if (problem)
        return context.usage(*problem);
    AnsweredPatchInfo prompt(options.prefix, options.fileStem);
    const MakePatchResult made = makePatch([&options] { return options.form; }, prompt, context.fileSystem);
    if (made.refused)
        return context.usage(refusalText(*made.refused));
    TerminalMessages messages = context.messages();
    showAll(messages, made.messages);
    if (made.replaced)
        context.out << "replaced " << made.fileName << std::endl;
    if (made.status == JobStatus::Succeeded && !options.zip) {
        // The patch names its images; a player who gets it without them gets no jersey.
        const std::string image = context.shown(options.prefix + options.form.jerseyName);
        messages.say({Tone::Hint, "share it with its two images, " + escapedText(image) + ".fsh and " +
                                      escapedText(image) + "_num.fsh, beside it (--zip packs the three into one zip)"});
    }
    if (!options.zip || made.status != JobStatus::Succeeded)
        return exitStatus(made.status);
    // The zip to share: the patch as written, with its images beside it.
    const std::string zip = made.fileName.substr(0, made.fileName.size() - 4) + ".zip";
    const PackResult packed = packPatches(context.fileSystem, {{made.fileName}, zip});
    reportPack(packed, zip, context);
    return exitStatus(packed.status);
}

// A command that describes a jersey: its own options, then the jersey's, and the note on
// list values under them.
template <typename Options, typename Declare, typename Run>
CommandRun defineJerseyCommand(CLI::App& app, const char* name, const char* summary, const char* details,
                               Declare declare, Run run)
{
    auto declareAll = [declare](CLI::App& command, Options& options) {
        declare(command, options);
        addJerseyOptions(command, options.form);
    };
    return defineCommand<Options>(app, name, summary, details + std::string(kListValueNote), declareAll, run);
}

}  // namespace

CommandRun addAddCommand(CLI::App& app)
{
    return defineJerseyCommand<AddOptions>(
        app, "add", "put a jersey into the saves, as the Windows form's Go! button does",
        "Appends the jersey to saves/SLOT/teamgear.dbf, or without --slot to the table of every\n"
        "numbered save folder from 000 up to the first one missing, and tells what became of each.\n",
        [](CLI::App& command, AddOptions& options) {
            addSlotOption(command, options.form.saveSlot, "Save Slot: the save folder saves/SLOT only, named as typed");
            options.gameOption = addGameOption(command, options.game);
            addDryRunFlag(command, options.dryRun);
            addNoJournalFlag(command, options.noJournal);
        },
        runAdd);
}

CommandRun addMakePatchCommand(CLI::App& app)
{
    return defineJerseyCommand<MakePatchOptions>(
        app, "make-patch", "write a jersey patch (.jer), as the Windows form's Make a Patch does",
        "Writes STEM.jer, naming the images XXNAME.fsh and XXNAME_num.fsh (it does not copy them):\n"
        "share the patch with those two images beside it, or with --zip as one zip of the three.\n"
        "A patch of that name is replaced, and the report says so.\n",
        [](CLI::App& command, MakePatchOptions& options) {
            command
                .add_option("--prefix", options.prefix,
                            "the " + std::to_string(patchformat::kPrefixLength) +
                                "-character prefix of the jersey's image names")
                ->type_name("XX");
            command
                .add_option("--file", options.fileStem,
                            "the patch is written as STEM.jer (1 to " +
                                std::to_string(patchformat::kMaxFileStemLength) + " characters)")
                ->type_name("STEM");
            command.add_flag("--zip", options.zip,
                             "also write STEM.zip, the patch with its two images as a player shares it (the images "
                             "must be beside the patch)");
        },
        runMakePatch);
}

}  // namespace kitloom::cli
