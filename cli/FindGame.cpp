#include "cli/FindGame.h"

#include "cli/Cli.h"
#include "core/GamePaths.h"
#include "core/RememberedGame.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"
#include "text/TerminalEscape.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <memory>

namespace kitloom::cli {

namespace {

#ifdef _WIN32
constexpr const char* kNotFoundPlaces = "the current folder";
constexpr const char* kSearchOrder =
    "Without --game, the game folder is the first that holds saves of: the patch's folder\n"
    "(install), the current folder, the game chosen with 'kitloom-cli where --use DIR' (kept in\n"
    "%APPDATA%\\kitloom\\game), the folder of kitloom-cli.exe, then Orvanta\\Dunkmere under\n"
    "%ProgramFiles%, %ProgramW6432% and %ProgramFiles(x86)%; two of these last three that hold\n"
    "different games leave the choice to you.";
#else
constexpr const char* kNotFoundPlaces = "the current folder";
constexpr const char* kSearchOrder =
    "Without --game, the game folder is the first that holds saves of: the patch's folder\n"
    "(install), the current folder, the game chosen with 'kitloom-cli where --use DIR' (kept in\n"
    "$XDG_CONFIG_HOME/kitloom/game, by default ~/.config/kitloom/game), then the game under Wine:\n"
    "the prefix WINEPREFIX names, then ~/.wine and every launcher's prefixes: Steam's (each\n"
    "library its libraryfolders.vdf names, Flatpak and snap Steam too), Lutris', Bottles',\n"
    "PlayOnLinux's and Heroic's. In a prefix, the game is a folder called Dunkmere, in any case,\n"
    "up to three levels below drive_c. Several games in one place and none chosen: nothing is\n"
    "changed, and 'kitloom-cli where --use DIR' chooses one.";
#endif

SearchPlaces placesOfThisMachine()
{
    SearchPlaces places;
#ifdef _WIN32
    places.rememberedFile = rememberedGameFile(std::nullopt, std::nullopt, environmentValue("APPDATA"));
    places.programFolder = programFolder();
    // A 32-bit program on 64-bit Windows sees ProgramFiles as the (x86) folder; ProgramW6432
    // names the other. 32-bit Windows sets ProgramFiles alone.
    for (const char* name : {"ProgramFiles", "ProgramW6432", "ProgramFiles(x86)"}) {
        if (const auto folder = environmentValue(name); folder && !folder->empty())
            places.programFiles.push_back(*folder);
    }
#else
    places.winePrefix = environmentValue("WINEPREFIX");
    places.home = environmentValue("HOME");
    places.dataHome = environmentValue("XDG_DATA_HOME");
    places.configHome = environmentValue("XDG_CONFIG_HOME");
    places.rememberedFile = rememberedGameFile(places.configHome, places.home, std::nullopt);
#endif
    return places;
}

std::string joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + escapedText(item);
    return text;
}

// Notes about a setting the player made (WINEPREFIX, the game chosen once) are always told;
// the others only where the search's outcome is.
bool aboutASetting(SearchNoteKind kind)
{
    return kind == SearchNoteKind::WinePrefixMissing || kind == SearchNoteKind::WinePrefixNotWine ||
           kind == SearchNoteKind::RememberedGone || kind == SearchNoteKind::RememberedUnreadable;
}

std::string noteText(const SearchNote& note)
{
    const std::string path = escapedText(note.path);
    const std::string goesOn = "; the search went on without it";
    switch (note.kind) {
    case SearchNoteKind::WinePrefixMissing:
        return "WINEPREFIX names a folder that does not exist (" + path + ")" + goesOn;
    case SearchNoteKind::WinePrefixNotWine:
        return "WINEPREFIX is not a Wine prefix: it has no drive_c (" + path + ")" + goesOn;
    case SearchNoteKind::RememberedGone:
        return "the game chosen with 'kitloom-cli where --use' holds no saves any more (" + path + ")" + goesOn +
               " ('kitloom-cli where --forget' forgets it)";
    case SearchNoteKind::RememberedUnreadable:
        return path + ", which keeps the game chosen with 'kitloom-cli where --use', could not be read" + goesOn;
    case SearchNoteKind::FolderUnreadable:
    case SearchNoteKind::FileUnreadable:
        return path + ": could not be read";
    case SearchNoteKind::FileMalformed:
        return path + ": could not be understood" + (note.detail.empty() ? "" : " (" + escapedText(note.detail) + ")");
    }
    return path;
}

void tellNotes(const CommandContext& context, const GameSearch& search, bool settingsOnly)
{
    for (const SearchNote& note : search.notes) {
        if (!settingsOnly || aboutASetting(note.kind))
            context.err << "note: " << noteText(note) << std::endl;
    }
}

std::string useCommand(const std::string& folder)
{
    return "kitloom-cli where --use " + shellQuoted(withoutClosingSeparator(folder));
}

// The ERROR for a search that gave no game to use, and what to do.
void refuse(const CommandContext& context, const GameChoice& choice, const std::string& triedFirst)
{
    std::ostream& err = context.err;
    const GameSearch& search = choice.search;
    tellNotes(context, search, false);
    if (choice.source == GameSource::Several) {
        err << "ERROR: " << search.decidingCount << " game folders were found, so none was used:" << std::endl;
        for (std::size_t i = 0; i < search.decidingCount; ++i)
            err << "  " << escapedText(withoutClosingSeparator(search.games[i].folder)) << std::endl;
        err << "hint: choose one for this and every later command:" << std::endl;
        for (std::size_t i = 0; i < search.decidingCount; ++i)
            err << "  " << escapedText(useCommand(search.games[i].folder)) << std::endl;
        err << "hint: or name one with --game DIR" << std::endl;
        return;
    }
#ifdef _WIN32
    err << "ERROR: No game folder was found: there are no saves in " << triedFirst
        << (search.lookedIn.empty() ? std::string() : ", nor in " + joined(search.lookedIn)) << std::endl;
#else
    err << "ERROR: No game folder was found: there are no saves in " << triedFirst
        << (search.lookedIn.empty() ? std::string()
                                    : ", and no Wine prefix holds the game (looked in " + joined(search.lookedIn) + ")")
        << std::endl;
#endif
    err << "hint: name the game folder with --game DIR, or choose it once for every command: " << useCommand("DIR")
        << std::endl;
}

const char* placeName(GamePlace place)
{
    switch (place) {
    case GamePlace::Given:
        return "given";
    case GamePlace::PatchFolder:
        return "patch-folder";
    case GamePlace::CurrentFolder:
        return "current-folder";
    case GamePlace::Remembered:
        return "chosen";
    case GamePlace::ProgramFolder:
        return "program-folder";
    case GamePlace::ProgramFiles:
        return "program-files";
    case GamePlace::WinePrefix:
        return "wineprefix";
    case GamePlace::HomeWine:
        return "wine";
    case GamePlace::Steam:
        return "steam";
    case GamePlace::Lutris:
        return "lutris";
    case GamePlace::Bottles:
        return "bottles";
    case GamePlace::PlayOnLinux:
        return "playonlinux";
    case GamePlace::Heroic:
        return "heroic";
    }
    return "";
}

const char* noteName(SearchNoteKind kind)
{
    switch (kind) {
    case SearchNoteKind::WinePrefixMissing:
        return "wineprefix-missing";
    case SearchNoteKind::WinePrefixNotWine:
        return "wineprefix-not-wine";
    case SearchNoteKind::RememberedGone:
        return "chosen-game-gone";
    case SearchNoteKind::RememberedUnreadable:
        return "chosen-game-unreadable";
    case SearchNoteKind::FolderUnreadable:
        return "folder-unreadable";
    case SearchNoteKind::FileUnreadable:
        return "file-unreadable";
    case SearchNoteKind::FileMalformed:
        return "file-malformed";
    }
    return "";
}

struct WhereOptions {
    bool json = false;
    std::string use;
    CLI::Option* useOption = nullptr;
    bool forget = false;
};

int runUse(const WhereOptions& options, const CommandContext& context, const SearchPlaces& places)
{
    if (!places.rememberedFile) {
        context.err << "ERROR: There is no place to keep the choice: "
                    <<
#ifdef _WIN32
            "APPDATA"
#else
            "HOME"
#endif
                    << " is not set" << std::endl;
        return kExitFailure;
    }
    const std::string& file = *places.rememberedFile;
    const std::string shown = escapedText(options.use);
    switch (rememberGame(context.fileSystem, file, options.use)) {
    case RememberResult::Remembered:
        context.out << "chosen: " << escapedText(withoutClosingSeparator(context.fileSystem.fullPath(options.use)))
                    << " (kept in " << escapedText(file) << ")" << std::endl;
        return kExitSuccess;
    case RememberResult::NoFolder:
        context.err << "ERROR: " << shown << " is not a folder" << std::endl;
        return kExitFailure;
    case RememberResult::NoSaves:
        context.err << "ERROR: " << shown << " holds no saves folder, so it is not the game folder" << std::endl;
        return kExitFailure;
    case RememberResult::CannotWrite:
        break;
    }
    const std::string reason = lastSystemError();
    context.err << "ERROR: The choice could not be kept in " << escapedText(file)
                << (reason.empty() ? "" : ": " + reason) << std::endl;
    return kExitFailure;
}

int runForget(const CommandContext& context, const SearchPlaces& places)
{
    std::string folder;
    if (!places.rememberedFile ||
        readRememberedGame(context.fileSystem, *places.rememberedFile, folder) == RememberedRead::NothingRemembered) {
        context.out << "no game was chosen" << std::endl;
        return kExitSuccess;
    }
    const std::string& file = *places.rememberedFile;
    switch (forgetGame(context.fileSystem, file)) {
    case ForgetResult::Forgotten:
        context.out << "forgotten: " << escapedText(withoutClosingSeparator(folder)) << " (" << escapedText(file)
                    << " removed)" << std::endl;
        return kExitSuccess;
    case ForgetResult::NothingRemembered:
        context.out << "no game was chosen" << std::endl;
        return kExitSuccess;
    case ForgetResult::CannotRemove:
        break;
    }
    const std::string reason = lastSystemError();
    context.err << "ERROR: " << escapedText(file) << " could not be removed" << (reason.empty() ? "" : ": " + reason)
                << std::endl;
    return kExitFailure;
}

void printJson(const CommandContext& context, const GameSearch& search, const SearchPlaces& places)
{
    using Json = nlohmann::ordered_json;
    Json games = Json::array();
    for (std::size_t i = 0; i < search.games.size(); ++i) {
        const FoundGame& game = search.games[i];
        games.push_back({{"folder", withoutClosingSeparator(game.folder)},
                         {"place", placeName(game.place)},
                         {"winePrefix", game.winePrefix.empty() ? Json() : Json(game.winePrefix)},
                         {"used", search.decidingCount == 1 && i == 0}});
    }
    Json notes = Json::array();
    for (const SearchNote& note : search.notes)
        notes.push_back({{"note", noteName(note.kind)}, {"path", note.path}, {"detail", note.detail}});
    const Json document = {
        {"games", games},
        {"used", search.decidingCount == 1 ? Json(withoutClosingSeparator(search.games.front().folder)) : Json()},
        {"chosenGameFile", places.rememberedFile ? Json(*places.rememberedFile) : Json()},
        {"notes", notes}};
    context.out << document.dump(2, ' ', false, Json::error_handler_t::replace) << std::endl;
}

int runWhere(const WhereOptions& options, const CommandContext& context)
{
    const SearchPlaces places = searchPlaces();
    if (options.useOption->count() > 0)
        return runUse(options, context, places);
    if (options.forget)
        return runForget(context, places);
    const GameSearch search = searchGames(context.fileSystem, places, true);
    if (options.json) {
        printJson(context, search, places);
        return search.games.empty() ? kExitFailure : kExitSuccess;
    }
    if (search.games.empty()) {
        refuse(context, {GameSource::NotFound, "", search}, kNotFoundPlaces);
        return kExitFailure;
    }
    for (const FoundGame& game : search.games) {
        context.out << escapedText(withoutClosingSeparator(game.folder))
                    << (game.place == GamePlace::Remembered ? " (chosen with 'kitloom-cli where --use')" : "")
                    << std::endl;
    }
    tellNotes(context, search, false);
    if (search.decidingCount > 1)
        context.err << "hint: " << search.decidingCount
                    << " games were found in one place and none is chosen: 'kitloom-cli where --use DIR' chooses one"
                    << std::endl;
    return kExitSuccess;
}

}  // namespace

SearchPlaces searchPlaces() { return placesOfThisMachine(); }

const char* gameSearchOrder() { return kSearchOrder; }

std::string shellQuoted(const std::string& folder)
{
#ifdef _WIN32
    return folder.find_first_of(" &()[]{}^=;!'+,`~") == std::string::npos ? folder : "\"" + folder + "\"";
#else
    if (!folder.empty() && folder.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
                                                    "_-./+,:@%") == std::string::npos)
        return folder;
    std::string quoted = "'";
    for (const char c : folder)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
#endif
}

std::optional<GameChoice> gameForCommand(const CommandContext& context, const CLI::Option* gameOption,
                                         const std::string& game, std::ostream& named,
                                         const std::optional<std::string>& patchFolder, bool tell, const GameAsker& ask)
{
    GameRequest request{gameOption->count() > 0 ? std::optional(game) : std::nullopt, patchFolder, searchPlaces()};
    GameChoice choice = chooseGame(context.fileSystem, request);
    if (tell)
        tellNotes(context, choice.search, true);
    if (choice.source == GameSource::NotFound || choice.source == GameSource::Several) {
        if (ask) {
            const AskedGame asked = ask(choice);
            if (asked.outcome == AskedGame::Outcome::Chosen)
                return GameChoice{GameSource::Remembered, asked.folder, {}};
            if (asked.outcome == AskedGame::Outcome::Stopped)
                return std::nullopt;
        }
        if (tell)
            refuse(context, choice,
                   patchFolder ? std::string("the patch's folder or ") + kNotFoundPlaces : kNotFoundPlaces);
        return std::nullopt;
    }
    if ((choice.source == GameSource::Found || choice.source == GameSource::Remembered) && tell)
        named << "game: " << escapedText(withoutClosingSeparator(choice.folder))
              << (choice.source == GameSource::Remembered ? " (chosen with 'kitloom-cli where --use')" : "")
              << std::endl;
    return choice;
}

CommandRun addWhereCommand(CLI::App& app)
{
    auto options = std::make_shared<WhereOptions>();
    CLI::App* command = addCommand(
        app, "where", "print the game folders found, the one used first; choose one once",
        std::string("Prints each game folder found that holds saves, one a line, the one a command uses "
                    "first.\n") +
            kSearchOrder + "\nExit status 1 when none is found.");
    CLI::Option* json = command->add_flag(
        "--json", options->json,
        "one JSON document: {\"games\": [{\"folder\", \"place\", \"winePrefix\", \"used\"}], "
        "\"used\", \"chosenGameFile\", \"notes\": [{\"note\", \"path\", \"detail\"}]}");
    options->useOption =
        command->add_option("--use", options->use, "choose DIR, which must hold saves, for every later command")
            ->type_name("DIR")
            ->check([](const std::string& value) { return value.empty() ? std::string("--use needs a folder") : ""; });
    CLI::Option* forget = command->add_flag("--forget", options->forget, "forget the game chosen with --use");
    options->useOption->excludes(forget)->excludes(json);
    return [options](const CommandContext& context) { return runWhere(*options, context); };
}

}  // namespace kitloom::cli
