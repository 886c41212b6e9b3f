#pragma once

#include "jobs/JobHooks.h"

#include <string>

namespace kitloom {

class FileSystem;

// kitloom-cli's way to the game: this machine's places, searched in order.

// The places of this machine that the game is searched in, read from the environment.
SearchPlaces searchPlaces();
// The folder given, the patch's folder when it holds saves, then the search of this
// machine's places (chooseGame).
GameChoice searchedGame(FileSystem& fileSystem, const GameHints& hints, GameSearch& search);
// Keeps the game the player chose where 'where --use' keeps it; CannotWrite, with no
// reason, where the environment names no place for it.
RememberResult keepChosenGame(FileSystem& fileSystem, const std::string& gameFolder, std::string& reason);

}  // namespace kitloom
