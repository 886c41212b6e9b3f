#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kitloom {

// More entries than any archive of jersey patches holds: a directory this long is refused
// before it is read.
inline constexpr std::size_t kMaxZipEntries = 4096;
// The central directory's bytes are read whole: 4 KB an entry is far more than any real
// name, extra fields and comment take.
inline constexpr std::uint64_t kMaxZipDirectoryBytes = kMaxZipEntries * 4096;
// What one reader inflates, over all its entries, before it refuses more: entries that
// share one stretch of deflated bytes make a small archive inflate without end.
inline constexpr std::uint64_t kMaxZipInflated = 1ull << 30;

enum class ZipTrouble {
    None,
    NotAZip,            // no zip records where they belong: another kind of file
    Incomplete,         // no end record, or a directory or an entry reaching past the end: a download cut short
    Split,              // an archive split or spanned over several files (disks)
    Damaged,            // records that do not hold together, or deflated bytes that do not inflate
    Encrypted,          // encrypted (flag bit 0), or WinZip's AES (method 99)
    UnsupportedMethod,  // compressed some other way than stored (0) or deflated (8): `method` says how
    TooManyEntries,     // over kMaxZipEntries entries, or a directory over kMaxZipDirectoryBytes
    EntryTooLarge,      // a stated size over the caller's limit
    ArchiveTooLarge,    // the entry would take the archive's output over kMaxZipInflated
    CrcMismatch,        // the bytes are not the ones the directory's CRC-32 stands for
    SizeMismatch,       // the entry gives more or fewer bytes than it states
    Stopped,            // the caller's sink asked to stop
    CannotRead,         // the file could not be read: the system's words in `reason`
};

// What went wrong with an archive or one of its entries; nothing when trouble is None.
struct ZipProblem {
    ZipTrouble trouble = ZipTrouble::None;
    std::string entry;         // the entry's name (UTF-8), when one entry is at fault
    std::uint16_t method = 0;  // an unsupported method's number
    std::string reason;        // the system's or zlib's words, when they have any

    explicit operator bool() const { return trouble != ZipTrouble::None; }
};

// An entry of the central directory, as the archive states it. Its name is only reported,
// never trusted: it may hold "..", a drive or a folder part, or anything else.
struct ZipEntry {
    std::string name;     // UTF-8, '/' between folders, as stored
    bool folder = false;  // the name ends with '/'
    std::uint16_t method = 0;
    bool encrypted = false;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localHeaderOffset = 0;
};

}  // namespace kitloom
