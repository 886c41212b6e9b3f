#include "platform/SystemError.h"

#include <windows.h>

namespace kitloom {

std::string lastSystemError()
{
    const DWORD error = GetLastError();
    if (error == NO_ERROR)
        return {};
    char text[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  sizeof text, nullptr);
    // The system's sentences end with a period and CR LF; the caller puts its own punctuation.
    while (length > 0 &&
           (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' ' || text[length - 1] == '.'))
        --length;
    if (length == 0)
        return "error " + std::to_string(error);
    return std::string(text, length);
}

void clearSystemError() { SetLastError(NO_ERROR); }

void setDiskFullError() { SetLastError(ERROR_DISK_FULL); }

}  // namespace kitloom
