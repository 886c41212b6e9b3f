// remove: takes installed jerseys back out of the saves, newest first.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/JerseyOptions.h"
#include "cli/SaveReport.h"
#include "core/GamePaths.h"
#include "core/TeamGearFile.h"
#include "core/TeamGearRemover.h"
#include "platform/FileSystem.h"
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

// Prints what became of one table; the number of jerseys that went.
std::uint32_t reportTable(const RemoveReport& removed, SaveReport& report)
{
    switch (removed.result) {
    case RemoveResult::Removed:
    case RemoveResult::NotAtEnd:
    case RemoveResult::NotFound:
        break;
    case RemoveResult::NoTable:
        report.tableError(messageFor(ResultCode::NoTable), removed.tablePath);
        return 0;
    case RemoveResult::TableDamaged:
        report.tableError(messageFor(ResultCode::TableDamaged), removed.tablePath, removed.reason);
        return 0;
    case RemoveResult::TableUnusable:
        report.tableError(messageFor(ResultCode::TableUnusable), removed.tablePath, removed.reason);
        return 0;
    }
    if (removed.removed > 0) {
        report.tableLine(removed.tablePath, std::string(report.dryRun() ? "would remove " : "removed ") +
                                                std::to_string(removed.removed) +
                                                (removed.removed == 1 ? " jersey (" : " jerseys (") +
                                                std::to_string(removed.countAfter) + " records left)");
    } else if (removed.matchesLeft.empty()) {
        report.tableLine(removed.tablePath, "no matching jersey");
    }
    std::vector<std::uint32_t> behindOthers = removed.matchesLeft;
    // A table never goes without a record: a matching only record stays.
    if (removed.countAfter == 1 && !behindOthers.empty() && behindOthers.back() == 1) {
        behindOthers.pop_back();
        report.tableError("A matching jersey stays as the table's only record, which it cannot lose",
                          removed.tablePath);
    }
    // Only the latest installs come out: a record behind others stays where it is.
    if (!behindOthers.empty())
        report.tableError("A matching jersey behind others stays, at position " + positions(behindOthers),
                          removed.tablePath);
    return removed.removed;
}

int runRemove(const RemoveOptions& options, const CommandContext& context)
{
    if (options.name.size() != 4)
        return context.usage("--name takes the 4 characters of a Jersey Name");
    if (options.year.size() != 7)
        return context.usage("--year takes the 7 characters of a Year");
    if (options.teamOption->count() > 0 && (options.team.empty() || options.team.size() > 2))
        return context.usage("--team takes 1 or 2 digits");

    watchForInterrupt();
    SaveReport report(context.out, context.err, options.dryRun);
    TeamGearRemover remover(context.fileSystem, options.dryRun);
    const JerseyMatch match = matchOf(options);
    const std::string game = withClosingSeparator(options.game);
    std::uint32_t removed = 0;
    int tables = 0;
    bool anyMatch = false;
    if (!options.slot.empty()) {
        const RemoveReport table = remover.removeJerseys(namedSaveTablePath(game, options.slot), match);
        if (table.result == RemoveResult::NoTable) {
            report.tableError("Invalid Directory!", table.tablePath);
            report.hintAtSlot(options.slot);
            return kExitFailure;
        }
        removed = reportTable(table, report);
        tables = removed > 0 ? 1 : 0;
        anyMatch = table.removed > 0 || !table.matchesLeft.empty();
    } else {
        for (int number = 0; number <= kHighestSaveFolder; ++number) {
            const RemoveReport table = remover.removeJerseys(numberedSaveTablePath(game, number), match);
            if (table.result == RemoveResult::NoTable) {
                if (number == 0) {
                    showError(report, "Invalid Save Slot");
                    return kExitFailure;
                }
                break;
            }
            const std::uint32_t fromTable = reportTable(table, report);
            anyMatch = anyMatch || table.removed > 0 || !table.matchesLeft.empty();
            removed += fromTable;
            tables += fromTable > 0 ? 1 : 0;
            if (interruptRequested())
                return report.stopNow();
        }
    }
    if (removed == 0) {
        showError(report, anyMatch ? "No matching jersey was the last of its table: nothing was removed"
                                   : "No matching jersey was found: nothing was removed");
        return kExitFailure;
    }
    showSuccess(report, std::string(options.dryRun ? "Would remove " : "Removed ") + std::to_string(removed) + (removed == 1 ? " jersey" : " jerseys") + " from " +
                            std::to_string(tables) + (tables == 1 ? " save" : " saves"));
    return report.anyError() ? kExitFailure : kExitSuccess;
}

}  // namespace

CommandRun addRemoveCommand(CLI::App& app, const std::string& encoding)
{
    auto options = std::make_shared<RemoveOptions>();
    CLI::App* command = addCommand(
        app, "remove", "take installed jerseys back out of the saves",
        "Removes the jersey from the end of saves/SLOT/teamgear.dbf, or without --slot from the table\n"
        "of every numbered save folder: the last record goes while it matches, so the latest installs\n"
        "come out first. A matching record behind others stays, and an ERROR line names it; a table\n"
        "keeps at least one record.");
    command->add_option("--name", options->name, "Jersey Name: 4 characters")
        ->type_name("NAME")
        ->required()
        ->transform(codePage1252Text(encoding));
    command->add_option("--year", options->year, "Year: 7 characters")
        ->type_name("YEAR")
        ->required()
        ->transform(codePage1252Text(encoding));
    options->teamOption =
        command->add_option("--team", options->team, "only a jersey of this Team Number")
                              ->type_name("N")
                              ->check(digitsOnly());
    options->typeOption = command->add_option("--type", options->type, "only a jersey of this Jersey Type")
                              ->type_name("VALUE")
                              ->transform(listRow(JerseyList::JerseyType));
    addSlotOption(*command, options->slot, "the save folder saves/SLOT only, named as typed");
    addGameOption(*command, options->game);
    addDryRunFlag(*command, options->dryRun);
    return [options](const CommandContext& context) { return runRemove(*options, context); };
}

}  // namespace kitloom::cli
