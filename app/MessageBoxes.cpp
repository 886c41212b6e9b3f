#include "app/MessageBoxes.h"

#include <windows.h>

namespace kitloom {

void MessageBoxes::show(MessageKind kind, const std::string& text)
{
    if (kind == MessageKind::Error)
        MessageBoxA(nullptr, text.c_str(), "ERROR", MB_OK | MB_ICONEXCLAMATION);
    else
        MessageBoxA(nullptr, text.c_str(), "SUCCESS", MB_OK);
}

}  // namespace kitloom
