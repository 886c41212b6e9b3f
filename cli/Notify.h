#pragma once

#include "cli/Terminal.h"

#include <functional>

namespace kitloom::cli {

// Runs `run` with its report going to the terminal as usual, then shows its last line
// (the outcome) as a desktop notification too. Returns what `run` returns.
int runNotifying(const CommandContext& context, const std::function<int(const CommandContext&)>& run);

}  // namespace kitloom::cli
