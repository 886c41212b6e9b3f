#pragma once

#include <string>
#include <string_view>

namespace kitloom::cli {

// `bytes` in double quotes, with quotes, backslashes, control bytes and bytes from 0x7F
// up written as escapes (\" \\ \xNN), so that any field shows on one terminal line.
std::string quoted(std::string_view bytes);

// `bytes` as a JSON string; each byte from 0x7F up, and every control byte, becomes a
// \u00NN escape, so the line is plain ASCII whatever the table holds.
std::string jsonString(std::string_view bytes);

}  // namespace kitloom::cli
