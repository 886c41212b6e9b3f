// where: the game folders found, the one used first; --use and --forget.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/report/GameLines.h"
#include "jobs/WhereJob.h"
#include "jobs/journal/JobJournal.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "text/TerminalEscape.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <memory>

namespace kitloom::cli {

namespace {

#ifdef _WIN32
constexpr const char* kSearchOrder =
    "Without --game, the game folder is the first that holds saves of: the patch's folder\n"
    "(install), the current folder, the game chosen with 'kitloom-cli where --use DIR' (kept in\n"
    "%APPDATA%\\kitloom\\game), the folder of kitloom-cli.exe, then Orvanta\\Dunkmere under\n"
    "%ProgramFiles%, %ProgramW6432% and %ProgramFiles(x86)%; two of these last three that hold\n"
    "different games leave the choice to you.";
#else
constexpr const char* kSearchOrder =
    "Without --game, the game folder is the first that holds saves of: the patch's folder\n"
    "(install), the current folder, the game chosen with 'kitloom-cli where --use DIR' (kept in\n"
    "$XDG_CONFIG_HOME/kitloom/game, by default ~/.config/kitloom/game), then the game under Wine:\n"
    "the prefix WINEPREFIX names, then ~/.wine and every launcher's prefixes: Steam's (each\n"
    "library its libraryfolders.vdf names, Flatpak and snap Steam too), Lutris', Bottles',\n"
    "PlayOnLinux's and Heroic's (each game's own prefix too). In a prefix, the game is a folder\n"
    "whose name starts with Dunkmere, in any case, and that holds saves, up to five levels below\n"
    "drive_c; links are followed. Several games among these prefixes and none chosen: nothing\n"
    "is changed, and 'kitloom-cli where --use DIR' chooses one. --game may name a prefix, or any\n"
    "folder above the game: the game in it is used.";
#endif

struct WhereOptions {
    bool json = false;
    std::string use;
    CLI::Option* useOption = nullptr;
    bool forget = false;
};

void printJson(const CommandContext& context, const GameSearch& search, const SearchPlaces& places)
{
    const auto journal = journalFolder();
    using Json = nlohmann::ordered_json;
    Json games = Json::array();
    for (std::size_t i = 0; i < search.games.size(); ++i) {
        const FoundGame& game = search.games[i];
        games.push_back({{"folder", withoutClosingSeparator(game.folder)},
                         {"place", placeKey(game.place)},
                         {"winePrefix", game.winePrefix.empty() ? Json() : Json(game.winePrefix)},
                         {"used", search.decidingCount == 1 && i == 0}});
    }
    Json notes = Json::array();
    for (const SearchNote& note : search.notes)
        notes.push_back({{"note", noteKey(note.kind)}, {"path", note.path}, {"detail", note.detail}});
    const Json document = {
        {"games", games},
        {"used", search.decidingCount == 1 ? Json(withoutClosingSeparator(search.games.front().folder)) : Json()},
        {"chosenGameFile", places.rememberedFile ? Json(*places.rememberedFile) : Json()},
        {"journalFolder", journal ? Json(withoutClosingSeparator(*journal)) : Json()},
        {"notes", notes}};
    context.out << document.dump(2, ' ', false, Json::error_handler_t::replace) << std::endl;
}

int runWhere(const WhereOptions& options, const CommandContext& context)
{
    WhereRequest request;
    if (options.useOption->count() > 0)
        request = {WhereAsk::Use, options.use};
    else if (options.forget)
        request.ask = WhereAsk::Forget;
    const WhereResult result = whereIsTheGame(context.fileSystem, request);
    if (options.json && request.ask == WhereAsk::Search) {
        printJson(context, result.search, result.places);
    } else {
        context.messages().say(whereLines(request, result));
        // On standard error, so that the folders a script reads stay the only lines out.
        if (const auto journal = journalFolder(); journal && request.ask == WhereAsk::Search)
            context.err << "note: the journal that 'kitloom-cli history' and 'undo' read is in "
                        << escapedText(withoutClosingSeparator(*journal)) << std::endl;
    }
    return exitStatus(result.status);
}

}  // namespace

const char* gameSearchOrder() { return kSearchOrder; }

CommandRun addWhereCommand(CLI::App& app)
{
    return defineCommand<WhereOptions>(
        app, "where", "print the game folders found, the one used first; choose one once",
        std::string("Prints each game folder found that holds saves, one a line, the one a command uses "
                    "first.\n") +
            kSearchOrder +
            "\nExit status 1 when none is found, or several and none is chosen, so that the next command\n"
            "would use none.",
        [](CLI::App& command, WhereOptions& options) {
            CLI::Option* json = command.add_flag(
                "--json", options.json,
                "one JSON document: {\"games\": [{\"folder\", \"place\", \"winePrefix\", \"used\"}], "
                "\"used\", \"chosenGameFile\", \"journalFolder\", \"notes\": [{\"note\", \"path\", \"detail\"}]}");
            options.useOption =
                command.add_option("--use", options.use, "choose DIR, which must hold saves, for every later command")
                    ->type_name("DIR")
                    ->check([](const std::string& value) {
                        return value.empty() ? std::string("--use needs a folder") : "";
                    });
            CLI::Option* forget = command.add_flag("--forget", options.forget, "forget the game chosen with --use");
            options.useOption->excludes(forget)->excludes(json);
        },
        runWhere);
}

}  // namespace kitloom::cli
