#pragma once

#include "cli/Terminal.h"

#include <functional>
#include <string>

namespace CLI {
class App;
}

namespace kitloom::cli {

// A command's options live in the closure of `run`, filled while the command line is parsed.
using CommandRun = std::function<int(const CommandContext&)>;

// Each adds its command to `app` and returns what runs it once the line has been parsed.
// `encoding` is the terminal's, into which the options' names and years are read.
CommandRun addAddCommand(CLI::App& app, const std::string& encoding);
CommandRun addMakePatchCommand(CLI::App& app, const std::string& encoding);
CommandRun addRemoveCommand(CLI::App& app, const std::string& encoding);
CommandRun addInstallCommand(CLI::App& app);
CommandRun addShowCommand(CLI::App& app);
CommandRun addListCommand(CLI::App& app);

}  // namespace kitloom::cli
