// remove: takes installed jerseys back out of the saves, newest first.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/FindGame.h"
#include "cli/JerseyOptions.h"
#include "cli/SaveReport.h"
#include "jobs/SaveJobs.h"
#include "jobs/SystemMessages.h"
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
};

int runRemove(RemoveOptions options, const CommandContext& context)
{
    auto problem = context.toTableText(options.name, "--name");
    if (!problem)
        problem = context.toTableText(options.year, "--year");
    if (problem)
        return context.usage(*problem);
    RemoveRequest request;
    request.jerseyName = options.name;
    request.year = options.year;
    if (options.teamOption->count() > 0)
        request.teamNumber = options.team;
    if (options.typeOption->count() > 0)
        request.jerseyType = options.type;
    switch (removeRequestProblem(request)) {
    case RemoveProblem::JerseyName:
        return context.usage("--name takes the 4 characters of a Jersey Name");
    case RemoveProblem::Year:
        return context.usage("--year takes the 7 characters of a Year");
    case RemoveProblem::TeamNumber:
        return context.usage("--team takes 1 or 2 digits");
    case RemoveProblem::None:
        break;
    }

    watchForInterrupt();
    SaveReport report(context, options.dryRun);
    request.saveSlot = options.slot;
    GameTeller teller(context, context.out);
    request.game = gamePolicy(options.gameOption, options.game, &teller);
    request.options = {options.dryRun, report.progress([&](const TableReport& table) {
                           report.say(removalLines(table, options.dryRun));
                       })};
    const RemoveResult result = removeJerseys(context.fileSystem, request);
    if (!gameDecided(result.game))
        return kExitFailure;
    const JobReport& job = result.job;
    report.say(unvisitedLines(job));
    if (result.status == JobStatus::Stopped)
        return report.stopNow();
    report.say(removeClosing(result, options.dryRun));
    if (job.namedSave && job.outcome != JobOutcome::Stopped && job.tables.front().result == ResultCode::NoTable)
        report.say(slotHint(options.slot));
    return exitStatus(result.status);
}

}  // namespace

CommandRun addRemoveCommand(CLI::App& app)
{
    auto options = std::make_shared<RemoveOptions>();
    CLI::App* command = addCommand(
        app, "remove", "take installed jerseys back out of the saves",
        "Removes the jersey from the end of saves/SLOT/teamgear.dbf, or without --slot from the table\n"
        "of every numbered save folder: the last record goes while it matches, so the latest installs\n"
        "come out first. A matching record behind others stays, and an ERROR line names it; a table\n"
        "keeps at least one record.");
    command->add_option("--name", options->name, "Jersey Name: 4 characters")->type_name("NAME")->required();
    command->add_option("--year", options->year, "Year: 7 characters")->type_name("YEAR")->required();
    options->teamOption = command->add_option("--team", options->team, "only a jersey of this Team Number")
                              ->type_name("N")
                              ->check(digitsOnly());
    options->typeOption = command->add_option("--type", options->type, "only a jersey of this Jersey Type")
                              ->type_name("VALUE")
                              ->transform(listRow(JerseyList::JerseyType));
    addSlotOption(*command, options->slot, "the save folder saves/SLOT only, named as typed");
    options->gameOption = addGameOption(*command, options->game);
    addDryRunFlag(*command, options->dryRun);
    return [options](const CommandContext& context) { return runRemove(*options, context); };
}

}  // namespace kitloom::cli
