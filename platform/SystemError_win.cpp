#include "platform/SystemError.h"

#include <windows.h>

namespace kitloom {

namespace {

std::string wordsFor(DWORD error)
{
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

}  // namespace

std::string lastSystemError() { return wordsFor(GetLastError()); }

std::string diskFullReason() { return wordsFor(ERROR_DISK_FULL); }

std::string nameTooLongReason() { return wordsFor(ERROR_FILENAME_EXCED_RANGE); }

}  // namespace kitloom
