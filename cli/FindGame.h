#pragma once

#include "cli/Commands.h"
#include "core/GameFolder.h"

#include <optional>
#include <ostream>
#include <string>

namespace kitloom::cli {

// The game of a job, as chooseGame() picks it with --game when given. A game under Wine is
// named on `named` first ("game: FOLDER"), or when none was found an ERROR says where it
// looked and what to do; `tell` false keeps both for a search already told of.
std::optional<GameChoice> gameForCommand(const CommandContext& context, const CLI::Option* gameOption,
                                         const std::string& game, std::ostream& named,
                                         const std::optional<std::string>& patchFolder = std::nullopt, bool tell = true);

// where: the game folders found, the one used first.
CommandRun addWhereCommand(CLI::App& app);

}  // namespace kitloom::cli
