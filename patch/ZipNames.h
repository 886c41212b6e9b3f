#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kitloom {

// An entry's name in UTF-8, from the bytes its header stores:
// - Info-ZIP's Unicode Path extra field, when its CRC-32 is that of the stored name (a tool
//   that wrote it may have changed the name since, and left the field stale);
// - else the name as stored when flag bit 11 says it is UTF-8, or when it is ASCII, or when
//   a Unix system made it and it is valid UTF-8 (Info-ZIP's zip stores a Linux name's bytes
//   as they are and sets no flag);
// - else the stored bytes as code page 437, the MS-DOS one that zip tools on Windows write.
std::string zipEntryName(std::string_view stored, std::uint16_t flags, std::uint16_t versionMadeBy,
                         std::string_view extraFields);

// `bytes` read as code page 437, in UTF-8.
std::string utf8FromCodePage437(std::string_view bytes);

}  // namespace kitloom
