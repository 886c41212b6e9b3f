#pragma once

#include "cli/Commands.h"
#include "jobs/GamePolicy.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace kitloom::cli {

// Where a command finds the game without --game, and where a choice is kept: for help texts.
const char* gameSearchOrder();

// Tells of the game a command's job decides: a game found by the search is named on `named`
// ("game: FOLDER"); when none was found, an ERROR says where it looked and what to do,
// unless `asker` gets a game from the player. `forPatch`: the patch's folder was looked at first.
class GameTeller final : public GameListener {
public:
    GameTeller(const CommandContext& context, std::ostream& named, bool forPatch = false)
        : context_(context), named_(named), forPatch_(forPatch)
    {
    }
    void searched(const GameSearch& search) override { search_ = search; }
    AskedGame ask(const GameChoice& choice) override { return asker ? asker(choice, search_) : AskedGame{}; }
    void chosen(const GameChoice& choice) override;

    GameAsker asker;

private:
    const CommandContext& context_;
    std::ostream& named_;
    bool forPatch_;
    GameSearch search_;
};

// How a command's job finds its game: --game when given, else the search, told by `teller`;
// none keeps it all for a search already told of.
GamePolicy gamePolicy(const CLI::Option* gameOption, const std::string& game, GameTeller* teller);

// where: the game folders found, the one used first; --use and --forget.
CommandRun addWhereCommand(CLI::App& app);

}  // namespace kitloom::cli
