#include "cli/Cli.h"
#include "platform/Console.h"
#include "platform/Interrupt.h"
#include "platform/TerminalText.h"

#include <iostream>

int main(int argc, char** argv)
{
    const kitloom::TerminalSession terminal;
    kitloom::ignoreFileSizeLimit();
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    // Started from Explorer (a double-click, or a patch opened with it), its console window
    // closes the moment it ends: the help, or a job's report, stays up until the player has
    // read it.
    if (kitloom::consoleIsOwnedAlone()) {
        const int status = kitloom::runCli(args.empty() ? std::vector<std::string>{"--help"} : args, std::cout,
                                           std::cerr);
        std::cout << "\nPress Enter to close this window." << std::flush;
        std::string line;
        std::getline(std::cin, line);
        return status;
    }
    return kitloom::runCli(args, std::cout, std::cerr);
}
