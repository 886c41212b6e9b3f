#pragma once

#include "jobs/JobHooks.h"

#include <optional>
#include <string>

namespace kitloom {

class FileSystem;

// What a request says of the game it works on and the art folder its images go into.
struct GamePolicy {
    std::optional<std::string> given;  // the game folder the user named
    // The art folder the user named; else the game's (artFolderOf), or, when that cannot be
    // made, the one beside the saves.
    std::optional<std::string> artFolder;
};

// A choice a job can work on: a folder, not a search that found none or several.
bool gameDecided(const GameChoice& choice);
// The game of a job, found by `hooks` and decided once; the player is asked through
// `observer` when the way to it gave none or several, and a folder chosen is checked and
// kept. `observer` (may be null) is told the choice.
GameChoice decideGame(FileSystem& fileSystem, const JobHooks& hooks, JobObserver* observer, const GamePolicy& policy,
                      const std::string* patchFolder = nullptr);

}  // namespace kitloom
