#include "platform/Environment.h"

#include <windows.h>

namespace kitloom {

// The console shows the report; Windows has no notification tool to hand it to.
bool showDesktopNotification(const std::string&, const std::string&) { return false; }

// Only the Linux desktop's dialogs are asked for anything.
std::optional<ProgramRun> runProgram(const std::string&, const std::vector<std::string>&) { return std::nullopt; }

std::optional<std::string> programFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::nullopt;
    std::string folder(path, length);
    const std::size_t separator = folder.find_last_of("\\/");
    if (separator == std::string::npos)
        return std::nullopt;
    return folder.substr(0, separator + 1);
}

}  // namespace kitloom
