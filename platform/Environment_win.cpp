#include "platform/Environment.h"

#include "platform/SystemPath_win.h"

#include <windows.h>

namespace kitloom {

// The console shows the report; Windows has no notification tool to hand it to.
bool showDesktopNotification(const std::string&, const std::string&) { return false; }

// Only the Linux desktop's dialogs are asked for anything.
std::optional<ProgramRun> runProgram(const std::string&, const std::vector<std::string>&) { return std::nullopt; }

#ifdef KITLOOM_PROGRAM_COPY
// The program's game is the folder it is started in: it never asks, and keeps no wide call.
std::optional<std::string> programFolder() { return std::nullopt; }
#else
std::optional<std::string> programFolder()
{
    // A folder of any length: the buffer grows until the name fits.
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size() &&
           path.size() < 32768)
        path.resize(path.size() * 2);
    if (length == 0 || length >= path.size())
        return std::nullopt;
    path.resize(length);
    std::string folder = ansiText(path);
    const std::size_t separator = folder.find_last_of("\\/");
    if (separator == std::string::npos)
        return std::nullopt;
    return folder.substr(0, separator + 1);
}
#endif

}  // namespace kitloom
