#pragma once

#include "core/GameFolder.h"

#include <functional>
#include <optional>
#include <string>

namespace kitloom {

class FileSystem;

// Where the game might be, as a job knows it before it is decided; null when not known.
struct GameHints {
    const std::string* given;        // a folder the user named
    const std::string* patchFolder;  // an install's patch's own folder
};

// What asking the player for the game folder gave.
struct AskedGame {
    // Stopped: nothing was chosen (cancelled), or the folder chosen was refused and its ERROR told.
    enum class Outcome { Chosen, Stopped, NoWayToAsk } outcome = Outcome::NoWayToAsk;
    std::string folder;  // Chosen: the game folder, a path prefix
};
// Asks for the game when the search found none, or several and none is chosen.
using GameAsker = std::function<AskedGame(const GameChoice&, const GameSearch&)>;

// Told of the game a job decides, as a front end tells its user.
class GameListener {
public:
    virtual ~GameListener() = default;
    // What a search met, before the choice is told.
    virtual void searched(const GameSearch&) {}
    // When the way to the game gave none, or several: the player's choice, if asked.
    virtual AskedGame ask(const GameChoice&) { return {}; }
    // The choice as soon as it is made, usable or not, before anything is touched.
    virtual void chosen(const GameChoice&) {}
};

// How a job finds its game: a pointer, so that kitloom.exe links only its own rules.
// A search tells `listener` what it met.
using FindGame = GameChoice (*)(FileSystem& fileSystem, const GameHints& hints, GameListener* listener);

// The program's own rules: the folder given; else the patch's folder in patch mode; else
// the current folder.
GameChoice programsGame(FileSystem& fileSystem, const GameHints& hints, GameListener* listener);
// kitloom-cli's: the folder given, the patch's folder when it holds saves, then the search of
// this machine's places (chooseGame).
GameChoice searchedGame(FileSystem& fileSystem, const GameHints& hints, GameListener* listener);
// The places of this machine that the game is searched in, read from the environment.
SearchPlaces searchPlaces();

// How a job decides the game it works on and the art folder its images go into.
struct GamePolicy {
    std::optional<std::string> given;  // the game folder the user named
    FindGame find = programsGame;
    GameListener* listener = nullptr;  // none: the choice is told to no one, and no one is asked
    // The art folder the user named; else the game's (artFolderOf), or, when that cannot be
    // made, the one beside the saves.
    std::optional<std::string> artFolder;
};

// A choice a job can work on: a folder, not a search that found none or several.
bool gameDecided(const GameChoice& choice);
// The game of a job, decided once by `policy`; a player's answer is taken when asked.
GameChoice decideGame(FileSystem& fileSystem, const GamePolicy& policy, const std::string* patchFolder = nullptr);

}  // namespace kitloom
