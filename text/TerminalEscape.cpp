#include "text/TerminalEscape.h"

#include "text/ControlByte.h"

namespace kitloom {

namespace {

// Appends `text` to `shown` with control bytes as \xNN, and `alsoEscaped` behind a backslash.
void appendEscaped(std::string& shown, std::string_view text, std::string_view alsoEscaped)
{
    constexpr char kHexDigits[] = "0123456789abcdef";
    for (char byte : text) {
        const auto c = static_cast<unsigned char>(byte);
        if (alsoEscaped.find(byte) != std::string_view::npos) {
            shown += '\\';
            shown += byte;
        } else if (isControlByte(byte)) {
            shown += "\\x";
            shown += kHexDigits[c >> 4];
            shown += kHexDigits[c & 0xF];
        } else {
            shown += byte;
        }
    }
}

}  // namespace

// The quotes go in by appending: a quote put in front of a finished string moves it within
// itself, which GCC 12 at -O3 reports as an overlapping copy.
std::string quotedField(std::string_view text)
{
    std::string field(1, '"');
    appendEscaped(field, text, "\"\\");
    field += '"';
    return field;
}

std::string escapedText(std::string_view text)
{
    std::string shown;
    appendEscaped(shown, text, {});
    return shown;
}

}  // namespace kitloom
