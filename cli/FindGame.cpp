#include "cli/FindGame.h"

#include "cli/Cli.h"
#include "core/GamePaths.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <CLI/CLI.hpp>

namespace kitloom::cli {

namespace {

constexpr const char* kNameItHint = "hint: name the game folder with --game DIR";

WinePlaces winePlaces() { return {environmentValue("WINEPREFIX"), environmentValue("HOME")}; }

std::string joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

void noteSkipped(const CommandContext& context, const WineSearch& search)
{
    for (const std::string& skipped : search.skipped)
        context.err << "note: " << skipped << std::endl;
}

// The ERROR for a search that gave no game to use.
void refuse(const CommandContext& context, const WineSearch& search, const std::string& triedFirst)
{
    std::ostream& err = context.err;
    noteSkipped(context, search);
    switch (search.outcome) {
    case WineSearchOutcome::WinePrefixMissing:
        err << "ERROR: WINEPREFIX names a folder that does not exist: " << search.lookedIn.back() << std::endl;
        break;
    case WineSearchOutcome::WinePrefixNotWine:
        err << "ERROR: WINEPREFIX is not a Wine prefix (it has no drive_c): " << search.lookedIn.back() << std::endl;
        break;
    case WineSearchOutcome::Several:
        err << "ERROR: " << search.games.size() << " game folders were found, so none was used:" << std::endl;
        for (const std::string& game : search.games)
            err << "  " << withoutClosingSeparator(game) << std::endl;
        err << "hint: pick one with --game DIR" << std::endl;
        return;
    default:
        err << "ERROR: No game folder was found: there are no saves in " << triedFirst
            << (search.lookedIn.empty()
                    ? std::string()
                    : ", and no Wine prefix holds the game (looked in " + joined(search.lookedIn) + ")")
            << std::endl;
        break;
    }
    err << kNameItHint << std::endl;
}

int runWhere(const CommandContext& context)
{
    std::vector<std::string> games;
    if (holdsSaves(context.fileSystem, ""))
        games.push_back(context.fileSystem.fullPath("."));
    WineSearch search;
    if (!kSystemMatchesAnyCase) {
        search = findWineGames(context.fileSystem, winePlaces());
        games.insert(games.end(), search.games.begin(), search.games.end());
    }
    if (games.empty() || search.outcome == WineSearchOutcome::WinePrefixMissing ||
        search.outcome == WineSearchOutcome::WinePrefixNotWine) {
        refuse(context, search, "the current folder");
        return kExitFailure;
    }
    for (const std::string& game : games)
        context.out << withoutClosingSeparator(game) << std::endl;
    noteSkipped(context, search);
    return kExitSuccess;
}

}  // namespace

std::optional<GameChoice> gameForCommand(const CommandContext& context, const CLI::Option* gameOption,
                                         const std::string& game, std::ostream& named,
                                         const std::optional<std::string>& patchFolder, bool tell)
{
    const GameChoice choice = chooseGame(
        context.fileSystem, gameOption->count() > 0 ? std::optional(game) : std::nullopt, patchFolder, winePlaces());
    if (choice.source == GameSource::NotFound) {
        if (tell)
            refuse(context, choice.wine,
                   patchFolder ? "the patch's folder or the current folder" : "the current folder");
        return std::nullopt;
    }
    if (choice.source == GameSource::Wine && tell)
        named << "game: " << withoutClosingSeparator(choice.folder) << std::endl;
    return choice;
}

CommandRun addWhereCommand(CLI::App& app)
{
    addCommand(app, "where", "print the game folders found, the one used first",
               "Prints each game folder that holds saves, one a line: the current folder, then the game\n"
               "under Wine (Orvanta/Dunkmere under Program Files of WINEPREFIX, ~/.wine and each Steam\n"
               "prefix steamapps/compatdata/*/pfx). Exit status 1 when none is found.");
    return [](const CommandContext& context) { return runWhere(context); };
}

}  // namespace kitloom::cli
