#include "cli/Cli.h"

#include "cli/Commands.h"

namespace kitloom {

namespace {

using namespace cli;

std::vector<Command> allCommands()
{
    return {addCommand(), makePatchCommand(), installCommand(), showCommand(), listCommand()};
}

void printHelp(std::ostream& out)
{
    out << "kitloom-cli " KITLOOM_VERSION ": custom jerseys for Dunkmere's saved seasons, from a terminal.\n\n"
        << "usage: kitloom-cli COMMAND [OPTIONS]\n\n";
    for (const Command& command : allCommands()) {
        std::string name = "  " + std::string(command.name);
        name.resize(14, ' ');
        out << name << command.summary << '\n';
    }
    out << "\n'kitloom-cli COMMAND --help' describes a command; 'kitloom-cli --version' prints the version.\n"
        << "Exit status: 0 when every job succeeded, 1 when one failed (its ERROR line says why),\n"
        << "2 for a mistake on the command line, which changes nothing.\n";
}

void printCommandHelp(std::ostream& out, const Command& command)
{
    out << "usage: kitloom-cli " << command.synopsis << "\n\n" << command.details;
    const std::string options = command.optionsHelp();
    if (!options.empty())
        out << '\n' << options;
}

}  // namespace

namespace cli {

int CommandContext::usage(const std::string& problem) const
{
    err << "usage: " << problem << "; see 'kitloom-cli " << (command.empty() ? "" : command + " ") << "--help'"
        << std::endl;
    return kExitUsage;
}

}  // namespace cli

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    const CommandContext topLevel{out, err, ""};
    if (args.empty())
        return topLevel.usage("kitloom-cli COMMAND [OPTIONS]");
    const std::string& first = args.front();
    if (first == "--help" || first == "-h") {
        printHelp(out);
        return kExitSuccess;
    }
    if (first == "--version") {
        out << "kitloom-cli " KITLOOM_VERSION << std::endl;
        return kExitSuccess;
    }

    for (const Command& command : allCommands()) {
        if (first != command.name)
            continue;
        const CommandContext context{out, err, command.name};
        ParsedArguments parsed;
        std::string problem;
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (!parseArguments(rest, command.options, parsed, problem))
            return context.usage(problem);
        if (parsed.help) {
            printCommandHelp(out, command);
            return kExitSuccess;
        }
        return command.run(parsed, context);
    }
    return topLevel.usage("no command is called \"" + first + "\"");
}

}  // namespace kitloom
