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
    // Started by a double-click, its console window closes the moment it ends: a usage line
    // would only flash. The help stays up until the player has read it.
    if (args.empty() && kitloom::consoleIsOwnedAlone()) {
        const int status = kitloom::runCli({"--help"}, std::cout, std::cerr);
        std::cout << "\nPress Enter to close this window." << std::flush;
        std::string line;
        std::getline(std::cin, line);
        return status;
    }
    return kitloom::runCli(args, std::cout, std::cerr);
}
