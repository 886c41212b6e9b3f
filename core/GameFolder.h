#pragma once

#include "core/GameSearch.h"

#include <optional>
#include <string>

namespace kitloom {

class FileSystem;

// Where the game folder of a job came from.
enum class GameSource {
    Given,          // named by the user
    FoundInGiven,   // the one game below the folder the user named, which holds no saves (a Wine prefix, say)
    PatchFolder,    // the patch's own folder, which holds saves
    CurrentFolder,  // the current folder, which holds saves
    Remembered,     // the game chosen once, which holds saves
    Found,          // the one game of the first place searched that held any: search.games.front()
    Several,        // that place held several, and none is chosen: the first search.decidingCount games
    NotFound,       // none: search.lookedIn tells where it was looked for
    Asked,          // none was found, or several, and the player chose this one when asked
    NotChosen,      // the player, asked, chose none
    Refused,        // the player, asked, chose `folder`, which holds no saves
};

struct GameRequest {
    std::optional<std::string> given;        // a folder the user named
    std::optional<std::string> patchFolder;  // an install's patch's own folder
    SearchPlaces places;
};

struct GameChoice {
    GameSource source = GameSource::NotFound;
    std::string folder;   // a path prefix: empty for the current folder, else ending with a separator
    bool unkept = false;  // Asked: the choice could not be kept for later jobs, so it is this one's alone
};

// The game a job works on: the folder the user named, or, when it holds no saves, the one
// game below it (searchGamesBelow; several are the user's choice); else the patch's own
// folder when it holds saves; else the first place of searchGames() that holds a game, when
// it holds one. `search` receives what a search met (its notes too), unless an earlier rule
// applied.
GameChoice chooseGame(FileSystem& fileSystem, const GameRequest& request, GameSearch& search);

}  // namespace kitloom
