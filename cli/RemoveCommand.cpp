// remove: takes installed jerseys back out of the saves, newest first.
#include "cli/Cli.h"
#include "cli/CliHooks.h"
#include "cli/Commands.h"
#include "cli/JerseyOptions.h"
#include "cli/JobRecord.h"
#include "cli/JobReporter.h"
#include "jobs/RemoveJob.h"
#include "platform/Interrupt.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace kitloom::cli {

namespace {

struct RemoveOptions {
    std::string name;
    std::string year;
    std::string team;
    int type = 0;
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

int runRemove(RemoveOptions options, const CommandContext& context)
{
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
    if (options.teamOption->count() > 0)
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
    report.say(slotHint(result.slotWrittenShort));
    return exitStatus(result.status);
}

}  // namespace

CommandRun addRemoveCommand(CLI::App& app)
{
    return defineCommand<RemoveOptions>(
        app, "remove", "take installed jerseys back out of the saves",
        "Removes the jersey from the end of saves/SLOT/teamgear.dbf, or without --slot from the table\n"
        "of every numbered save folder: the last record goes while it matches, so the latest installs\n"
        "come out first. A matching record behind others stays, and an ERROR line names it; a table\n"
        "keeps at least one record.",
        [](CLI::App& command, RemoveOptions& options) {
            command
                .add_option("--name", options.name, "Jersey Name: " + std::to_string(kJerseyNameLength) + " characters")
                ->type_name("NAME")
                ->required();
            command.add_option("--year", options.year, "Year: " + std::to_string(kYearLength) + " characters")
                ->type_name("YEAR")
                ->required();
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
