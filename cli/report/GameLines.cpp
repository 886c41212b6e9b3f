#include "cli/report/GameLines.h"

#include "core/GamePaths.h"
#include "platform/Paths.h"
#include "text/TerminalEscape.h"

#include <algorithm>
#include <iterator>

namespace kitloom::cli {

namespace {

constexpr const char* kNotFoundPlaces = "the current folder";
#ifdef _WIN32
constexpr const char* kChoiceKeptUnder = "APPDATA";
#else
constexpr const char* kChoiceKeptUnder = "HOME";
#endif

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

std::string useCommand(const std::string& folder)
{
    return "kitloom-cli where --use " + shellQuoted(withoutClosingSeparator(folder));
}

// A place as a player knows it.
const char* placeName(GamePlace place)
{
    switch (place) {
    case GamePlace::Given:
        return "the folder given";
    case GamePlace::PatchFolder:
        return "the patch's folder";
    case GamePlace::CurrentFolder:
        return "the current folder";
    case GamePlace::Remembered:
        return "the game chosen with 'kitloom-cli where --use'";
    case GamePlace::ProgramFolder:
        return "kitloom-cli.exe's folder";
    case GamePlace::ProgramFiles:
        return "Program Files";
    case GamePlace::WinePrefix:
        return "WINEPREFIX";
    case GamePlace::HomeWine:
        return "~/.wine";
    case GamePlace::Steam:
        return "Steam";
    case GamePlace::Lutris:
        return "Lutris";
    case GamePlace::Bottles:
        return "Bottles";
    case GamePlace::PlayOnLinux:
        return "PlayOnLinux";
    case GamePlace::Heroic:
        return "Heroic";
    }
    return "";
}

// Where the games that leave the choice to the player were found: "in Steam's prefixes" for
// one launcher's, else each place once ("in ~/.wine and Steam").
std::string whereFound(const GameSearch& search)
{
    std::vector<GamePlace> places;
    for (std::size_t i = 0; i < search.decidingCount; ++i) {
        if (std::find(places.begin(), places.end(), search.games[i].place) == places.end())
            places.push_back(search.games[i].place);
    }
    if (places.size() == 1)
        return std::string("in one place (") + placeName(places.front()) + ")";
    std::string text = "in ";
    for (std::size_t i = 0; i < places.size(); ++i)
        text += std::string(i == 0 ? "" : i + 1 == places.size() ? " and " : ", ") + placeName(places[i]);
    return text;
}

#ifndef _WIN32
// "; there is no folder of Lutris or Heroic": the launchers searched for and not there.
std::string absentLaunchers(const GameSearch& search)
{
    const std::vector<GamePlace>& absent = search.launchersAbsent;
    if (absent.empty())
        return "";
    std::string text = "; there is no folder of ";
    for (std::size_t i = 0; i < absent.size(); ++i)
        text += std::string(i == 0 ? "" : i + 1 == absent.size() ? " or " : ", ") + placeName(absent[i]);
    return text;
}
#endif

}  // namespace

ReportLines searchNotes(const GameSearch& search, bool settingsOnly)
{
    ReportLines lines;
    for (const SearchNote& note : search.notes) {
        if (!settingsOnly || aboutASetting(note.kind))
            lines.push_back({Tone::Note, noteText(note)});
    }
    return lines;
}

ReportLines refusalLines(const GameChoice& choice, const GameSearch& search, bool forPatch)
{
    ReportLines lines;
    if (choice.source == GameSource::Several) {
        lines.push_back({Tone::Error, std::to_string(search.decidingCount) + " game folders were found " +
                                          whereFound(search) + ", so none was used:"});
        for (std::size_t i = 0; i < search.decidingCount; ++i)
            lines.push_back({Tone::Listed, escapedText(withoutClosingSeparator(search.games[i].folder))});
        lines.push_back({Tone::Hint, "choose one for this and every later command:"});
        for (std::size_t i = 0; i < search.decidingCount; ++i)
            lines.push_back({Tone::Listed, escapedText(useCommand(search.games[i].folder))});
        lines.push_back({Tone::Hint, "or name one with --game DIR"});
        return lines;
    }
    std::string error = "No game folder was found: there are no saves in ";
    if (forPatch)
        error += "the patch's folder or ";
    error += kNotFoundPlaces;
#ifdef _WIN32
    if (!search.lookedIn.empty())
        error += ", nor in " + joined(search.lookedIn);
#else
    if (!search.lookedIn.empty())
        error += ", and no Wine prefix holds the game (in a prefix, the game is a folder whose name starts with " +
                 std::string(kGameFolderName) + ", in any case, and that holds saves, up to " +
                 std::to_string(kGameDepthBelowDrive) + " levels below drive_c; looked in " + joined(search.lookedIn) +
                 absentLaunchers(search) + ")";
#endif
    lines.push_back({Tone::Error, error});
    lines.push_back({Tone::Hint, "name the game folder with --game DIR, or choose it once for every command: " +
                                     useCommand("DIR")});
    return lines;
}

std::optional<ReportLine> gameLine(const GameChoice& choice)
{
    std::string line = "game: " + escapedText(withoutClosingSeparator(choice.folder));
    switch (choice.source) {
    case GameSource::Found:
        break;
    case GameSource::Remembered:
        line += " (chosen with 'kitloom-cli where --use')";
        break;
    case GameSource::FoundInGiven:
        line += " (found in the folder --game names)";
        break;
    case GameSource::Asked:
        line += choice.unkept ? " (chosen when asked, for this command only)" : " (chosen when asked, and kept)";
        break;
    default:
        return std::nullopt;
    }
    return ReportLine{Tone::Line, line};
}

namespace {

ReportLines useLines(const WhereRequest& request, const WhereResult& result)
{
    if (result.noPlace)
        return {{Tone::Error, std::string("There is no place to keep the choice: ") + kChoiceKeptUnder + " is not set"}};
    const std::string file = escapedText(*result.places.rememberedFile);
    const std::string shown = escapedText(request.folder);
    switch (result.remembered) {
    case RememberResult::Remembered:
        return {{Tone::Line,
                 "chosen: " + escapedText(withoutClosingSeparator(result.folder)) + " (kept in " + file + ")"}};
    case RememberResult::NoFolder:
        return {{Tone::Error, shown + " is not a folder"}};
    case RememberResult::NoSaves:
        return {{Tone::Error, shown + " holds no saves folder, so it is not the game folder"}};
    case RememberResult::CannotWrite:
        break;
    }
    std::string error = "The choice could not be kept in " + file;
    if (!result.reason.empty())
        error += ": " + result.reason;
    return {{Tone::Error, error}};
}

ReportLines forgetLines(const WhereResult& result)
{
    switch (result.forgotten) {
    case ForgetResult::Forgotten:
        return {{Tone::Line, "forgotten: " + escapedText(withoutClosingSeparator(result.folder)) + " (" +
                                 escapedText(*result.places.rememberedFile) + " removed)"}};
    case ForgetResult::NothingRemembered:
        return {{Tone::Line, "no game was chosen"}};
    case ForgetResult::CannotRemove:
        break;
    }
    std::string error = escapedText(*result.places.rememberedFile) + " could not be removed";
    if (!result.reason.empty())
        error += ": " + result.reason;
    return {{Tone::Error, error}};
}

ReportLines foundLines(const GameSearch& search)
{
    if (search.games.empty()) {
        ReportLines lines = searchNotes(search, false);
        for (ReportLine& line : refusalLines({GameSource::NotFound, ""}, search, false))
            lines.push_back(std::move(line));
        return lines;
    }
    ReportLines lines;
    for (const FoundGame& game : search.games) {
        std::string line = escapedText(withoutClosingSeparator(game.folder));
        if (game.place == GamePlace::Remembered)
            line += " (chosen with 'kitloom-cli where --use')";
        lines.push_back({Tone::Line, line});
    }
    for (ReportLine& note : searchNotes(search, false))
        lines.push_back(std::move(note));
    // Listed, but not used: a command refuses them all until one is chosen.
    if (search.decidingCount > 1) {
        lines.push_back({Tone::Hint, std::to_string(search.decidingCount) + " games were found " + whereFound(search) +
                                         ", so none is used until one is chosen for every later command:"});
        for (std::size_t i = 0; i < search.decidingCount; ++i)
            lines.push_back({Tone::Listed, escapedText(useCommand(search.games[i].folder))});
    }
    return lines;
}

}  // namespace

namespace {

// The names a machine reader gets, by the value's place in its enum.
constexpr const char* kPlaceKeys[] = {"given",         "patch-folder", "current-folder", "chosen", "program-folder",
                                      "program-files", "wineprefix",   "wine",           "steam",  "lutris",
                                      "bottles",       "playonlinux",  "heroic"};
static_assert(std::size(kPlaceKeys) == static_cast<std::size_t>(GamePlace::Heroic) + 1);
constexpr const char* kNoteKeys[] = {"wineprefix-missing",     "wineprefix-not-wine", "chosen-game-gone",
                                     "chosen-game-unreadable", "folder-unreadable",   "file-unreadable",
                                     "file-malformed"};
static_assert(std::size(kNoteKeys) == static_cast<std::size_t>(SearchNoteKind::FileMalformed) + 1);

}  // namespace

const char* placeKey(GamePlace place) { return kPlaceKeys[static_cast<std::size_t>(place)]; }

const char* noteKey(SearchNoteKind kind) { return kNoteKeys[static_cast<std::size_t>(kind)]; }

ReportLines whereLines(const WhereRequest& request, const WhereResult& result)
{
    switch (request.ask) {
    case WhereAsk::Use:
        return useLines(request, result);
    case WhereAsk::Forget:
        return forgetLines(result);
    case WhereAsk::Search:
        break;
    }
    return foundLines(result.search);
}

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

}  // namespace kitloom::cli
