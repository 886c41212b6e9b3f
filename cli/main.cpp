#include "cli/Cli.h"
#include "platform/Interrupt.h"
#include "platform/TerminalText.h"

#include <iostream>

int main(int argc, char** argv)
{
    const kitloom::TerminalSession terminal;
    kitloom::ignoreFileSizeLimit();
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return kitloom::runCli(args, std::cout, std::cerr);
}
