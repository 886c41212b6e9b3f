// remove: takes installed jerseys back out of the saves, newest first.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/FindGame.h"
#include "cli/JerseyOptions.h"
#include "cli/SaveReport.h"
#include "core/TeamGearFile.h"
#include "form/SystemMessages.h"
#include "platform/Interrupt.h"
#include "platform/Paths.h"

#include <CLI/CLI.hpp>

#include <algorithm>
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

JerseyMatch matchOf(const RemoveOptions& options)
{
    JerseyMatch match;
    std::copy_n(options.name.begin(), match.jerseyName.size(), match.jerseyName.begin());
    std::copy_n(options.year.begin(), match.year.size(), match.year.begin());
    if (options.teamOption->count() > 0)
        match.teamNumber = std::stoi(options.team);
    if (options.typeOption->count() > 0)
        match.jerseyType = options.type;
    return match;
}

std::string positions(const std::vector<std::uint32_t>& records)
{
    std::string text;
    for (std::uint32_t record : records)
        text += (text.empty() ? "" : ", ") + std::to_string(record);
    return text;
}

// A table whose records were looked at, whatever was removed.
bool searched(const TableReport& table)
{
    return table.result == ResultCode::Removed || table.result == ResultCode::NoMatch ||
           table.result == ResultCode::MatchNotAtEnd;
}

void printRemoval(const TableReport& table, SaveReport& report)
{
    if (!searched(table)) {
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
    std::vector<std::uint32_t> behindOthers = table.matchesLeft;
    // A table never goes without a record: a matching only record stays.
    if (table.countAfter == 1 && !behindOthers.empty() && behindOthers.back() == 1) {
        behindOthers.pop_back();
        report.tableError("A matching jersey stays as the table's only record, which it cannot lose", table.tablePath);
    }
    // Only the latest installs come out: a record behind others stays where it is.
    if (!behindOthers.empty())
        report.tableError("A matching jersey behind others stays, at position " + positions(behindOthers),
                          table.tablePath);
}

int runRemove(RemoveOptions options, const CommandContext& context)
{
    auto problem = context.toTableText(options.name, "--name");
    if (!problem)
        problem = context.toTableText(options.year, "--year");
    if (problem)
        return context.usage(*problem);
    if (options.name.size() != kJerseyNameLength)
        return context.usage("--name takes the 4 characters of a Jersey Name");
    if (options.year.size() != kYearLength)
        return context.usage("--year takes the 7 characters of a Year");
    if (options.teamOption->count() > 0 && (options.team.empty() || options.team.size() > 2))
        return context.usage("--team takes 1 or 2 digits");

    const auto game = gameForCommand(context, options.gameOption, options.game, context.out);
    if (!game)
        return kExitFailure;
    watchForInterrupt();
    SaveReport report(context, options.dryRun);
    const SaveTarget target = options.slot.empty() ? SaveTarget::everyNumberedSave(game->folder)
                                                   : SaveTarget::namedSave(game->folder, options.slot);
    JobOptions jobOptions{options.dryRun,
                          report.progress([&](const TableReport& table) { printRemoval(table, report); })};
    const JobReport job = TeamGearFile(context.fileSystem, jobOptions).removeJerseys(target, matchOf(options));
    report.noteUnvisited(job);
    if (job.outcome == JobOutcome::Stopped)
        return report.stopNow();
    if (job.outcome == JobOutcome::NoSaves) {
        show(report, systemMessage(MessageId::InvalidSaveSlot));
        return kExitFailure;
    }
    if (job.namedSave && job.tables.front().result == ResultCode::NoTable) {
        report.hintAtSlot(options.slot);
        return kExitFailure;
    }

    std::uint32_t removed = 0;
    int tables = 0;
    bool anyMatch = false;
    bool anyLeft = false;
    for (const TableReport& table : job.tables) {
        if (searched(table)) {
            removed += table.removed;
            tables += table.removed > 0 ? 1 : 0;
        }
        anyMatch = anyMatch || table.removed > 0 || !table.matchesLeft.empty();
        anyLeft = anyLeft || !table.matchesLeft.empty();
    }
    // Saves that could not be read were never searched: "none found" would not be true of them.
    const auto unread = std::count_if(job.tables.begin(), job.tables.end(),
                                      [](const TableReport& table) { return !searched(table); });
    const std::string unreadNote = unread == 0 ? std::string()
                                               : "; " + std::to_string(unread) + (unread == 1 ? " save" : " saves") +
                                                     " could not be searched";
    if (removed == 0) {
        showError(report, (anyMatch     ? "No matching jersey was the last of its table: nothing was removed"
                           : unread > 0 ? "No jersey was removed"
                                        : "No matching jersey was found: nothing was removed") +
                              unreadNote);
        return kExitFailure;
    }
    const std::string done = std::string(options.dryRun ? "Would remove " : "Removed ") + std::to_string(removed) +
                             (removed == 1 ? " jersey" : " jerseys") + " from " + std::to_string(tables) +
                             (tables == 1 ? " save" : " saves");
    if (report.errorCount() > 0) {
        showError(report, done + unreadNote + ": the ERROR lines above say what stayed");
        return kExitFailure;
    }
    showSuccess(report, done);
    return kExitSuccess;
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
