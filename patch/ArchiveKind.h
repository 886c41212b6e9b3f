#pragma once

#include <cstddef>
#include <string_view>

namespace kitloom {

enum class ArchiveKind { Zip, SevenZip, Rar, Tar, Gzip, Bzip2, Xz, Unknown };

// What archiveKindOf needs of a file: its first bytes, or all of a shorter file.
inline constexpr std::size_t kArchiveSniffBytes = 512;

// What a file is, told by its first bytes whatever its name says: a player's download named
// ".zip" may well be a 7z or a rar. A zip is its first local header, the end record of an
// empty one, or the first piece of one split over several files.
ArchiveKind archiveKindOf(std::string_view firstBytes);

}  // namespace kitloom
