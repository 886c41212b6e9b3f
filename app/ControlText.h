#pragma once

#include <windows.h>

#include <string>

namespace kitloom {

// The whole text of a dialog's control, however long.
inline std::string controlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace kitloom
