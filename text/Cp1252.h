#pragma once

#include <optional>
#include <string>
#include <string_view>

// Code page 1252, the bytes a patch spells its image names in, and UTF-8, the names a Linux
// folder holds: "M\xDCNC.fsh" in a patch is "MÜNC.fsh" in an unzipped download.
namespace kitloom {

// Every byte has a character: the five that 1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) stand for U+0081 and the like, as Windows' own conversion reads them.
std::string cp1252ToUtf8(std::string_view bytes);

// None when `utf8` is not valid UTF-8 or holds a character that no 1252 byte stands for.
std::optional<std::string> utf8ToCp1252(std::string_view utf8);

// Whether every byte is below 0x80: such a name reads the same in either encoding.
bool isAscii(std::string_view text);

}  // namespace kitloom
