#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

// Where Wine keeps the game on this machine: the prefix that WINEPREFIX names, when set,
// and the user's home, with ~/.wine and Steam's prefixes (steamapps/compatdata/*/pfx).
struct WinePlaces {
    std::optional<std::string> winePrefix;
    std::optional<std::string> home;
};

enum class WineSearchOutcome {
    Found,              // one game to use: games.front()
    Several,            // more than one, none preferred
    None,               // no prefix holds the game
    WinePrefixMissing,  // WINEPREFIX names nothing
    WinePrefixNotWine,  // WINEPREFIX has no drive_c
};

struct WineSearch {
    WineSearchOutcome outcome = WineSearchOutcome::None;
    // Each game folder found (a path prefix), the one to use first.
    std::vector<std::string> games;
    std::vector<std::string> lookedIn;  // the prefixes and Steam folders looked into
    std::vector<std::string> skipped;   // "FOLDER: why", for folders that could not be looked into
};

// The game folders, Orvanta/Dunkmere under either Program Files of a prefix's drive_c, each
// level in any case, that hold a saves folder. Links inside a prefix are never followed. A
// game in WINEPREFIX is used alone; otherwise exactly one in the others is.
WineSearch findWineGames(FileSystem& fileSystem, const WinePlaces& places);

}  // namespace kitloom
