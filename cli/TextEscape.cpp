#include "cli/TextEscape.h"

namespace kitloom::cli {

std::string quotedField(std::string_view text)
{
    constexpr char kHexDigits[] = "0123456789abcdef";
    std::string shown = "\"";
    for (char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '"' || c == '\\') {
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
    return shown + "\"";
}

}  // namespace kitloom::cli
