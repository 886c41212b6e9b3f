#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

// Where a game folder was found, in the order the places are searched.
enum class GamePlace {
    Given,          // named by the user
    PatchFolder,    // the patch's own folder
    CurrentFolder,  // the current folder
    Remembered,     // the game chosen once and kept (rememberedGameFile)
    ProgramFolder,  // Windows: the folder of the program itself
    ProgramFiles,   // Windows: Orvanta\Dunkmere under a Program Files folder
    WinePrefix,     // the prefix that WINEPREFIX names
    HomeWine,       // ~/.wine
    Steam,          // a Steam library's steamapps/compatdata/*/pfx
    Lutris,         // the prefix of a Lutris game
    Bottles,        // a bottle of Bottles
    PlayOnLinux,    // a PlayOnLinux prefix
    Heroic,         // a Heroic prefix
};

struct FoundGame {
    std::string folder;  // a path prefix, with its closing separator
    GamePlace place = GamePlace::CurrentFolder;
    std::string winePrefix;  // the Wine prefix that holds it, without a closing separator
    bool operator==(const FoundGame&) const = default;
};

enum class SearchNoteKind {
    WinePrefixMissing,     // WINEPREFIX names nothing
    WinePrefixNotWine,     // WINEPREFIX names a folder without drive_c
    RememberedGone,        // the game chosen once holds no saves any more
    RememberedUnreadable,  // the file that keeps it could not be read
    FolderUnreadable,      // a folder on the way could not be listed
    FileUnreadable,        // a launcher's file could not be read
    FileMalformed,         // a launcher's file could not be understood; `detail` has the reader's words
};

// Something the search met and passed over, for the caller to tell about; it never stops
// the search.
struct SearchNote {
    SearchNoteKind kind;
    std::string path;
    std::string detail;
    bool operator==(const SearchNote&) const = default;
};

// The environment a search starts from, as the caller read it; each place is looked at only
// when set. Linux sets the Wine places, Windows the program's.
struct SearchPlaces {
    std::optional<std::string> winePrefix;      // WINEPREFIX
    std::optional<std::string> home;            // HOME
    std::optional<std::string> dataHome;        // XDG_DATA_HOME
    std::optional<std::string> configHome;      // XDG_CONFIG_HOME
    std::optional<std::string> rememberedFile;  // where the game chosen once is kept
    std::optional<std::string> programFolder;   // the program's own folder
    std::vector<std::string> programFiles;      // the Program Files folders the system names
};

struct GameSearch {
    // Every game found, each once (by its real path), in the order of the places. The first
    // `decidingCount` came from the first place that held any: one is the game a job uses;
    // several leave the choice to the user.
    std::vector<FoundGame> games;
    std::size_t decidingCount = 0;
    std::vector<std::string> lookedIn;       // the Wine prefixes and launchers' folders looked into
    std::vector<std::string> prefixes;       // every Wine prefix searched (one with drive_c), in order
    std::vector<GamePlace> launchersAbsent;  // the launchers none of whose folders exist
    std::vector<SearchNote> notes;
};

// Searches the places after the current folder in order: the current folder (when it
// holds saves), the game chosen once, the program's folder, the Program Files folders, the
// prefix WINEPREFIX names, then ~/.wine and every launcher's prefixes (Steam with each
// library its libraryfolders.vdf names, Lutris, Bottles, PlayOnLinux, Heroic's folders and
// each game's own prefix in its settings). In a prefix, a game is a folder that
// isGameFolderName() and holds saves, up to kGameDepthBelowDrive levels below drive_c;
// windows, users, ProgramData and the folders Wine makes in each Program Files (Common
// Files, Internet Explorer, Windows Media Player, Windows NT) are not searched. Links are followed: each real folder is
// searched once, and a link to a folder that holds it is not followed. With `everyPlace`
// false, the search ends with the first place that holds a game.
GameSearch searchGames(FileSystem& fileSystem, const SearchPlaces& places, bool everyPlace);
// The games below `folder`, which holds no saves itself: the game in it when it is a Wine
// prefix, else each game up to kGameDepthBelowDrive levels below it. Each is GamePlace::Given.
GameSearch searchGamesBelow(FileSystem& fileSystem, const std::string& folder);

}  // namespace kitloom
