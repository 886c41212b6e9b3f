// remove: takes installed jerseys back out of the saves, newest first.
#include "cli/Cli.h"
#include "cli/CliHooks.h"
#include "cli/Commands.h"
#include "cli/JerseyOptions.h"
#include "cli/JobRecord.h"
#include "cli/JobReporter.h"
#include "core/GamePaths.h"
#include "jobs/RemoveJob.h"
#include "jobs/ShowJob.h"
#include "platform/Interrupt.h"
#include "text/TerminalEscape.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace kitloom::cli {

namespace {

struct RemoveOptions {
    std::string patch;
    std::string name;
    std::string year;
    std::string team;
    int type = 0;
    CLI::Option* nameOption = nullptr;
    CLI::Option* yearOption = nullptr;
    CLI::Option* teamOption = nullptr;
    CLI::Option* typeOption = nullptr;
    std::string slot;
    std::string game;
    CLI::Option* gameOption = nullptr;
    bool dryRun = false;
    bool noJournal = false;
};

// What a field of a remove takes, when the job refused what was typed.
std::string removeRefusal(FormField field)
{
    const std::string takes = std::string(optionOf(field)) + " takes ";
    switch (field) {
    case FormField::JerseyName:
        return takes + "the " + std::to_string(kJerseyNameLength) + " characters of a Jersey Name";
    case FormField::Year:
        return takes + "the " + std::to_string(kYearLength) + " characters of a Year";
    default:
        return takes + "1 or " + std::to_string(kTeamNumberDigits) + " digits";
    }
}

// A patch's jersey, as --name, --year and --team would name it; the patch's images too.
bool takeFromPatch(RemoveOptions& options, std::vector<std::string>& images, const CommandContext& context)
{
    const ShowResult patch = showPatch(context.fileSystem, options.patch);
    if (patch.status != JobStatus::Succeeded) {
        TerminalMessages messages = context.messages();
        showAll(messages, patch.messages);
        return false;
    }
    for (const PatchField& field : patch.fields) {
        const std::string_view key = field.key;
        if (key == "name")
            options.name = context.shown(field.text);
        else if (key == "year")
            options.year = context.shown(field.text);
        else if (key == "team" && field.code)
            options.team = std::to_string(*field.code);
        else if (key == "image" || key == "numberImage")
            images.push_back(context.shown(field.text));
    }
    return true;
}

int runRemove(RemoveOptions options, const CommandContext& context)
{
    std::vector<std::string> images;
    if (!options.patch.empty()) {
        if (options.nameOption->count() > 0 || options.yearOption->count() > 0 || options.teamOption->count() > 0)
            return context.usage("a patch names its jersey: give the patch, or --name and --year, not both");
        if (!takeFromPatch(options, images, context))
            return kExitFailure;
    } else if (options.nameOption->count() == 0 || options.yearOption->count() == 0) {
        return context.usage(
            "which jersey? name a patch (kitloom-cli remove PATCH.jer) to remove its jersey, or give "
            "--name and --year (and --team to be sure)");
    }
    auto problem = context.toTableText(options.name, optionOf(FormField::JerseyName));
    if (!problem)
        problem = context.toTableText(options.year, optionOf(FormField::Year));
    if (problem)
        return context.usage(*problem);
    watchForInterrupt();
    JobReporter report(context, options.dryRun, context.out, TableWords::Removal);
    RemoveRequest request;
    request.jerseyName = options.name;
    request.year = options.year;
    if (options.teamOption->count() > 0 || !options.patch.empty())
        request.teamNumber = options.team;
    if (options.typeOption->count() > 0)
        request.jerseyType = options.type;
    request.saveSlot = options.slot;
    request.game = gamePolicy(options.gameOption, options.game);
    request.dryRun = options.dryRun;
    request.hooks = &kCliHooks;
    request.observer = &report;
    JobRecord record(context, options.dryRun, options.noJournal);
    if (record.refused())
        return kExitFailure;
    request.witness = record.journal();
    const RemoveResult result = removeJerseys(context.fileSystem, request);
    record.finish(result.status == JobStatus::Succeeded, {recordedJersey(options.name, options.year, options.team)});
    if (result.refused)
        return context.usage(removeRefusal(*result.refused));
    if (!gameDecided(result.game))
        return kExitFailure;
    report.say(unvisitedLines(result.job));
    if (result.status == JobStatus::Stopped)
        return report.stopNow();
    report.say(removeClosing(result, options.dryRun));
    report.say(behindOthersHint(result));
    if (result.removed > 0) {
        // Images are never taken out: another jersey, or another save's, may show them.
        std::string stay = "the jersey's images stay in the art folder (" + std::string(kArtFolderDescription) + ")";
        if (images.size() == 2)
            stay += ": delete " + escapedText(images[0]) + " and " + escapedText(images[1]) +
                    " there once no save holds the jersey";
        else
            stay += ": delete its two .fsh files there (PREFIX" + context.shown(options.name) + ".fsh and PREFIX" +
                    context.shown(options.name) + "_num.fsh) once no save holds the jersey";
        report.say({Tone::Note, stay});
    }
    report.say(slotHint(result.slotWrittenShort));
    return exitStatus(result.status);
}

}  // namespace

CommandRun addRemoveCommand(CLI::App& app)
{
    return defineCommand<RemoveOptions>(
        app, "remove", "take installed jerseys back out of the saves",
        "Removes the jersey of PATCH, or the one --name and --year name, from the end of\n"
        "saves/SLOT/teamgear.dbf, or without --slot from the table of every numbered save folder: the\n"
        "last record goes while it matches, so the latest installs come out first. A matching record\n"
        "behind others stays, and an ERROR line names it; a table keeps at least one record. The\n"
        "jersey's images stay in the art folder, for deleting by hand.",
        [](CLI::App& command, RemoveOptions& options) {
            command.add_option("patch", options.patch, "the patch (.jer) whose jersey to remove")->type_name("PATCH");
            options.nameOption = command
                                     .add_option("--name", options.name,
                                                 "Jersey Name: " + std::to_string(kJerseyNameLength) + " characters")
                                     ->type_name("NAME");
            options.yearOption =
                command.add_option("--year", options.year, "Year: " + std::to_string(kYearLength) + " characters")
                    ->type_name("YEAR");
            options.teamOption = command.add_option("--team", options.team, "only a jersey of this Team Number")
                                     ->type_name("N")
                                     ->check(digitsOnly());
            options.typeOption = command.add_option("--type", options.type, "only a jersey of this Jersey Type")
                                     ->type_name("VALUE")
                                     ->transform(listRow(JerseyList::JerseyType));
            addSlotOption(command, options.slot, "the save folder saves/SLOT only, named as typed");
            options.gameOption = addGameOption(command, options.game);
            addDryRunFlag(command, options.dryRun);
            addNoJournalFlag(command, options.noJournal);
        },
        runRemove);
}

}  // namespace kitloom::cli
