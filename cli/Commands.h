#pragma once

#include "cli/CommandContext.h"
#include "jobs/GameDecision.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace kitloom::cli {

// A command's options live in the closure of `run`, filled while the command line is parsed.
using CommandRun = std::function<int(const CommandContext&)>;

// kitloom-cli's command line: every command with its options, as the parser takes them and
// --help describes them. `commands` receives what runs each command, `helpTopic` the command
// that help is asked about. The shell completions are made from this same definition.
std::unique_ptr<CLI::App> makeApp(std::map<std::string, CommandRun>& commands, std::string& helpTopic);

// A command of `app`: its one-line summary in the command list, `details` under its options.
CLI::App* addCommand(CLI::App& app, const char* name, const char* summary, const std::string& details);
// A command of `app` whose options live in one `Options`, declared on it by
// `declare(command, options)` and handed to `run` once the command line has been parsed.
template <typename Options, typename Declare, typename Run>
CommandRun defineCommand(CLI::App& app, const char* name, const char* summary, const std::string& details,
                         Declare&& declare, Run run)
{
    auto options = std::make_shared<Options>();
    declare(*addCommand(app, name, summary, details), *options);
    return [options, run](const CommandContext& context) { return run(*options, context); };
}
// The options that the commands on saves share.
CLI::Option* addSlotOption(CLI::App& command, std::string& slot, const char* help);
CLI::Option* addGameOption(CLI::App& command, std::string& game,
                           const char* help =
                               "the game folder that holds saves (default: the first found, as "
                               "'kitloom-cli where' shows)");
void addDryRunFlag(CLI::App& command, bool& dryRun);
// The game a command's job works on: --game when given, else the search.
GamePolicy gamePolicy(const CLI::Option* gameOption, const std::string& game);
// Where a command finds the game without --game, and where a choice is kept: for help texts.
const char* gameSearchOrder();

// Each adds its command to `app` and returns what runs it once the line has been parsed.
CommandRun addAddCommand(CLI::App& app);
CommandRun addMakePatchCommand(CLI::App& app);
CommandRun addRemoveCommand(CLI::App& app);
CommandRun addInstallCommand(CLI::App& app);
CommandRun addShowCommand(CLI::App& app);
CommandRun addPackCommand(CLI::App& app);
CommandRun addListCommand(CLI::App& app);
CommandRun addWhereCommand(CLI::App& app);
CommandRun addHistoryCommand(CLI::App& app);
CommandRun addUndoCommand(CLI::App& app);

}  // namespace kitloom::cli
