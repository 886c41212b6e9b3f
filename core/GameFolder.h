#pragma once

#include "core/WineGames.h"

#include <optional>
#include <string>

namespace kitloom {

class FileSystem;

// Where the game folder of a job came from.
enum class GameSource {
    Given,          // named by the user
    PatchFolder,    // the patch's own folder, which holds saves
    CurrentFolder,  // the current folder, which holds saves (or, where names match in any case, always)
    Wine,           // the one game a Wine prefix holds: wine.games.front()
    NotFound,       // none: `wine` tells where it was looked for
};

struct GameChoice {
    GameSource source = GameSource::NotFound;
    std::string folder;  // a path prefix: empty for the current folder, else ending with a separator
    WineSearch wine;     // for Wine and NotFound
};

// The game a job works on: `given` when the user named one; else `patchFolder` (a patch's
// own folder) when it holds saves; else the current folder when it does; else the game that
// Wine's prefixes hold. Windows runs the game itself, and there the current folder is the
// game's, as it always was.
GameChoice chooseGame(FileSystem& fileSystem, const std::optional<std::string>& given,
                      const std::optional<std::string>& patchFolder, const WinePlaces& places);

}  // namespace kitloom
