#pragma once

#include "cli/Arguments.h"
#include "cli/Cli.h"
#include "cli/Terminal.h"

#include <string>
#include <vector>

namespace kitloom::cli {

struct Command {
    const char* name;
    const char* summary;   // one line for the command list
    const char* synopsis;  // the usage line, after "kitloom-cli "
    const char* details;   // what it does, before the options
    std::vector<OptionSpec> options;
    std::string (*optionsHelp)();
    int (*run)(const ParsedArguments& args, const CommandContext& context);
};

Command addCommand();
Command makePatchCommand();
Command installCommand();
Command showCommand();
Command listCommand();

}  // namespace kitloom::cli
