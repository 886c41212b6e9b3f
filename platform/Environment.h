#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kitloom {

// The value of environment variable `name`; none when it is not set.
std::optional<std::string> environmentValue(const char* name);

// Shows `summary` and `body` as a desktop notification, where the desktop has a way to;
// false when it could not be shown.
bool showDesktopNotification(const std::string& summary, const std::string& body);

struct ProgramRun {
    int exitStatus = -1;  // -1 when it did not end by exiting
    std::string output;   // what it wrote to its standard output
};

// Runs `program`, found by name on PATH and started directly, never through a shell, with
// `args`, and waits for it to end; its own complaints on standard error stay quiet. None
// when it could not be started (it is not on PATH, say), and always none on Windows.
std::optional<ProgramRun> runProgram(const std::string& program, const std::vector<std::string>& args);

// The folder that this program's own file is in, with its closing separator; none where
// the system does not say (outside Windows).
std::optional<std::string> programFolder();

}  // namespace kitloom
