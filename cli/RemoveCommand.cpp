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

std::string positions(const std::vector<std::uint32_t>& records)
{
    std::string text;
    for (std::uint32_t record : records) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(record);
    }
    return text;
}

void printRemoval(const TableReport& table, SaveReport& report)
{
    const TableRemoval removal = removalOf(table);
    if (!removal.searched) {
        report.tableError(systemMessage(messageFor(table.result)).text, table.tablePath, tableProblem(table));
        return;
    }
    if (table.removed > 0) {
        report.tableLine(table.tablePath, std::string(report.dryRun() ? "would remove " : "removed ") +
                                              std::to_string(table.removed) +
                                              (table.removed == 1 ? " jersey (" : " jerseys (") +
                                              std::to_string(table.countAfter) + " records left)");
    } else if (table.matchesLeft.empty()) {
        report.tableLine(table.tablePath, "no matching jersey");
    }
    if (removal.onlyRecordStays)
        report.tableError("A matching jersey stays as the table's only record, which it cannot lose", table.tablePath);
    if (!removal.behindOthers.empty())
        report.tableError("A matching jersey behind others stays, at position " + positions(removal.behindOthers),
                          table.tablePath);
}

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
    request.options = {options.dryRun, report.progress([&](const TableReport& table) { printRemoval(table, report); })};
    const RemoveResult result = removeJerseys(context.fileSystem, request);
    if (!gameDecided(result.game))
        return kExitFailure;
    const JobReport& job = result.job;
    report.noteUnvisited(job);
    if (result.status == JobStatus::Stopped)
        return report.stopNow();
    if (job.outcome == JobOutcome::NoSaves) {
        show(report, systemMessage(MessageId::InvalidSaveSlot));
        return kExitFailure;
    }
    if (job.namedSave && job.tables.front().result == ResultCode::NoTable) {
        report.hintAtSlot(options.slot);
        return kExitFailure;
    }

    // Saves that could not be read were never searched: "none found" would not be true of them.
    const std::size_t unread = result.unsearched;
    std::string unreadNote;
    if (unread > 0)
        unreadNote = "; " + std::to_string(unread) + (unread == 1 ? " save" : " saves") + " could not be searched";
    if (result.removed == 0) {
        showError(report, (result.anyMatch ? "No matching jersey was the last of its table: nothing was removed"
                           : unread > 0    ? "No jersey was removed"
                                           : "No matching jersey was found: nothing was removed") +
                              unreadNote);
        return kExitFailure;
    }
    const std::string done = std::string(options.dryRun ? "Would remove " : "Removed ") +
                             std::to_string(result.removed) + (result.removed == 1 ? " jersey" : " jerseys") + " from " +
                             std::to_string(result.savesChanged) + (result.savesChanged == 1 ? " save" : " saves");
    if (result.status == JobStatus::Failed)
        showError(report, done + unreadNote + ": the ERROR lines above say what stayed");
    else
        showSuccess(report, done);
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
