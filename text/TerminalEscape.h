#pragma once

#include <string>
#include <string_view>

namespace kitloom {

// `text` in double quotes, with quotes, backslashes and control bytes written as escapes
// (\" \\ \xNN), so that any field shows on one terminal line.
std::string quotedField(std::string_view text);

// `text` with only its control bytes written as \xNN: a path or a name from outside can
// then neither retitle nor clear the terminal, nor move the cursor over a line.
std::string escapedText(std::string_view text);

}  // namespace kitloom
