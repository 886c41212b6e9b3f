#pragma once

#include "patch/ZipEntry.h"

#include <cstdint>

namespace kitloom {

class OpenFile;

// Where an archive's central directory lies, as its end records state it.
struct ZipEnd {
    std::uint64_t entries = 0;
    std::uint64_t directoryOffset = 0;
    std::uint64_t directorySize = 0;
    // The first of the end records: the directory ends at or before it, and every entry's
    // data before the directory.
    std::uint64_t recordsOffset = 0;
};

// Finds the end record in the last kEndSearchBytes of `file` (`fileSize` bytes), and the
// Zip64 end record when a locator points at one. Its troubles: NotAZip, Incomplete (no end
// record in a file that starts as a zip does, or a directory past it), Split, Damaged (a
// Zip64 record missing where its locator says), TooManyEntries and CannotRead.
ZipProblem findZipEnd(OpenFile& file, std::uint64_t fileSize, ZipEnd& end);

}  // namespace kitloom
