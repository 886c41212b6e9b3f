#include "platform/TerminalEscape.h"

namespace kitloom {

namespace {

// `text` with control bytes as \xNN, and `alsoEscaped` behind a backslash.
std::string escaped(std::string_view text, std::string_view alsoEscaped)
{
    constexpr char kHexDigits[] = "0123456789abcdef";
    std::string shown;
    for (char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if (alsoEscaped.find(byte) != std::string_view::npos) {
            shown += '\\';
            shown += byte;
        } else if (c < 0x20 || c == 0x7F) {
            shown += "\\x";
            shown += kHexDigits[c >> 4];
            shown += kHexDigits[c & 0xF];
        } else {
            shown += byte;
        }
    }
    return shown;
}

}  // namespace

std::string quotedField(std::string_view text) { return "\"" + escaped(text, "\"\\") + "\""; }

std::string escapedText(std::string_view text) { return escaped(text, {}); }

}  // namespace kitloom
