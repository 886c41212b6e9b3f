#pragma once

#include "cli/Commands.h"
#include "cli/Terminal.h"

#include <optional>
#include <ostream>
#include <string>

namespace kitloom::cli {

// The game a Wine prefix holds, for a command whose own folders (`triedFirst`, as the
// message names them) hold no saves. Its folder (a path prefix) is named on `named` first;
// none after an ERROR that says where it looked and what to do.
std::optional<std::string> gameFromWine(const CommandContext& context, const std::string& triedFirst,
                                        std::ostream& named);
// The game of a command on saves: --game as given, else the current folder when it holds
// saves, else gameFromWine().
std::optional<std::string> gameForCommand(const CommandContext& context, const CLI::Option* gameOption,
                                          const std::string& game, std::ostream& named);
std::optional<std::string> gameForCommand(const CommandContext& context, const CLI::Option* gameOption,
                                          const std::string& game);

// where: the game folders found, the one used first.
CommandRun addWhereCommand(CLI::App& app);

}  // namespace kitloom::cli
