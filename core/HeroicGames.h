#pragma once

#include <string>
#include <vector>

namespace kitloom {

struct HeroicGameFile {
    bool parsed = false;                // false: not JSON, or not an object of games
    std::vector<std::string> prefixes;  // each game's winePrefix, as the file gives it
};

// The Wine prefixes that one of Heroic's per-game settings files (GamesConfig/*.json: an
// object of games by their id, each with its own settings) names as winePrefix. Built on
// Linux only, where Heroic runs its games under Wine.
HeroicGameFile readHeroicGameFile(const std::string& json);

}  // namespace kitloom
