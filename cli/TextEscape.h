#pragma once

#include <string>
#include <string_view>

namespace kitloom::cli {

// `text` in double quotes, with quotes, backslashes and control bytes written as escapes
// (\" \\ \xNN), so that any field shows on one terminal line.
std::string quotedField(std::string_view text);

}  // namespace kitloom::cli
