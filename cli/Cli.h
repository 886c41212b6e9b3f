#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kitloom {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // a job was refused or failed; its ERROR line says why
inline constexpr int kExitUsage = 2;    // the command line itself was wrong; nothing was touched

// Runs kitloom-cli with `args` (without the program's own name): program messages and
// results go to `out`, ERROR lines and usage hints to `err`. Returns the exit status.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kitloom
