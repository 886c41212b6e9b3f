#include "cli/TextEscape.h"

namespace kitloom::cli {

namespace {

std::string escaped(std::string_view bytes, const char* hexEscape)
{
    constexpr char kHexDigits[] = "0123456789abcdef";
    std::string text = "\"";
    for (char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += byte;
        } else if (c >= 0x20 && c < 0x7F) {
            text += byte;
        } else {
            text += hexEscape;
            text += kHexDigits[c >> 4];
            text += kHexDigits[c & 0xF];
        }
    }
    return text + "\"";
}

}  // namespace

std::string quoted(std::string_view bytes) { return escaped(bytes, "\\x"); }

std::string jsonString(std::string_view bytes) { return escaped(bytes, "\\u00"); }

}  // namespace kitloom::cli
