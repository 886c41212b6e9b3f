#pragma once

#include "cli/Commands.h"
#include "core/GameFolder.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace kitloom::cli {

// The places of this machine that the game is searched in, read from the environment.
SearchPlaces searchPlaces();
// Where a command finds the game without --game, and where a choice is kept: for help texts.
const char* gameSearchOrder();

// What asking the player for the game folder gave.
struct AskedGame {
    // Stopped: nothing was chosen (cancelled), or the folder chosen was refused and its ERROR told.
    enum class Outcome { Chosen, Stopped, NoWayToAsk } outcome = Outcome::NoWayToAsk;
    std::string folder;  // Chosen: the game folder, a path prefix
};
// Asks for the game when the search found none, or several and none is chosen.
using GameAsker = std::function<AskedGame(const GameChoice&)>;

// The game of a job, as chooseGame() picks it with --game when given. A game found by the
// search is named on `named` first ("game: FOLDER"), or when none was found an ERROR says
// where it looked and what to do, unless `ask` gets a game from the player; `tell` false
// keeps all of it for a search already told of.
std::optional<GameChoice> gameForCommand(const CommandContext& context, const CLI::Option* gameOption,
                                         const std::string& game, std::ostream& named,
                                         const std::optional<std::string>& patchFolder = std::nullopt,
                                         bool tell = true, const GameAsker& ask = {});

// `folder` as typed into a shell: quoted where it holds anything but plain characters.
std::string shellQuoted(const std::string& folder);

// where: the game folders found, the one used first; --use and --forget.
CommandRun addWhereCommand(CLI::App& app);

}  // namespace kitloom::cli
