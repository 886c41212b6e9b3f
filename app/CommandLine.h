#pragma once

#include <string>

namespace kitloom {

enum class RunMode { Form, InstallPatch, PathTooLong };

struct StartRequest {
    RunMode mode = RunMode::Form;
    std::string patchPath;
};

inline constexpr std::size_t kMaxPatchPathLength = 255;

// What the program was asked to do by the text after its own name: the shell quotes a
// path with spaces, so surrounding spaces and one pair of surrounding quotes go.
StartRequest parseCommandLine(const char* commandLine);

}  // namespace kitloom
