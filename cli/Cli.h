#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;       // a job was refused or failed; its ERROR line says why
inline constexpr int kExitUsage = 2;         // the command line itself was wrong; nothing was touched
inline constexpr int kExitSignalBase = 128;  // + the signal that stopped a job after the table in hand: 130 for Ctrl-C

// Runs kitloom-cli with `args` (without the program's own name): program messages and
// results go to `out`, ERROR lines and usage hints to `err`. Returns the exit status.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same on `fileSystem`, and with option texts taken to be in `terminalEncoding`.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, FileSystem& fileSystem,
           const std::string& terminalEncoding);

}  // namespace kitloom
