#pragma once

#include "cli/Cli.h"
#include "platform/FileSystem.h"
#include "platform/TerminalText.h"

#include <sstream>
#include <string>
#include <vector>

namespace kitloom::test {

// One kitloom-cli command run in-process: its exit status and both streams.
struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun runIt(const std::vector<std::string>& args, FileSystem& fileSystem = systemFileSystem())
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(args, out, err, fileSystem, terminalEncoding());
    return {status, out.str(), err.str()};
}

}  // namespace kitloom::test
