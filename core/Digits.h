#pragma once

#include <string_view>

namespace kitloom {

// True when `text` holds nothing but the digits 0 to 9, as a Team Number, a list row typed
// as a number and a numbered save folder's name do; empty text holds no other character.
inline bool isDigits(std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; }

}  // namespace kitloom
