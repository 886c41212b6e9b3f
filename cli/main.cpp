#include "cli/Cli.h"

#include <clocale>
#include <iostream>

int main(int argc, char** argv)
{
    // The terminal's encoding comes from the locale the user runs in.
    std::setlocale(LC_CTYPE, "");
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return kitloom::runCli(args, std::cout, std::cerr);
}
