#pragma once

#include <cstddef>
#include <cstdint>

// The zip archive's records, as PKWARE's APPNOTE lays them out: every integer little-endian,
// every offset counted from the record's signature.
namespace kitloom::zipformat {

// Each file's local header, right before its data.
inline constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;  // "PK\3\4"
inline constexpr std::size_t kLocalVersionNeeded = 4;
inline constexpr std::size_t kLocalFlags = 6;
inline constexpr std::size_t kLocalMethod = 8;
inline constexpr std::size_t kLocalTime = 10;
inline constexpr std::size_t kLocalDate = 12;
inline constexpr std::size_t kLocalCrc = 14;
inline constexpr std::size_t kLocalCompressedSize = 18;
inline constexpr std::size_t kLocalSize = 22;
inline constexpr std::size_t kLocalNameLength = 26;
inline constexpr std::size_t kLocalExtraLength = 28;
inline constexpr std::size_t kLocalHeaderSize = 30;  // the name follows, then the extra fields

// One entry of the central directory.
inline constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;  // "PK\1\2"
inline constexpr std::size_t kCentralVersionMadeBy = 4;
inline constexpr std::size_t kCentralVersionNeeded = 6;
inline constexpr std::size_t kCentralFlags = 8;
inline constexpr std::size_t kCentralMethod = 10;
inline constexpr std::size_t kCentralTime = 12;
inline constexpr std::size_t kCentralDate = 14;
inline constexpr std::size_t kCentralCrc = 16;
inline constexpr std::size_t kCentralCompressedSize = 20;
inline constexpr std::size_t kCentralSize = 24;
inline constexpr std::size_t kCentralNameLength = 28;
inline constexpr std::size_t kCentralExtraLength = 30;
inline constexpr std::size_t kCentralCommentLength = 32;
inline constexpr std::size_t kCentralDiskStart = 34;
inline constexpr std::size_t kCentralInternalAttributes = 36;
inline constexpr std::size_t kCentralExternalAttributes = 38;
inline constexpr std::size_t kCentralLocalHeaderOffset = 42;
inline constexpr std::size_t kCentralHeaderSize = 46;  // name, extra fields and comment follow

// The end of central directory record, the archive's last record but for its comment.
inline constexpr std::uint32_t kEndSignature = 0x06054b50;  // "PK\5\6"
inline constexpr std::size_t kEndDisk = 4;
inline constexpr std::size_t kEndDirectoryDisk = 6;
inline constexpr std::size_t kEndEntriesOnDisk = 8;
inline constexpr std::size_t kEndEntries = 10;
inline constexpr std::size_t kEndDirectorySize = 12;
inline constexpr std::size_t kEndDirectoryOffset = 16;
inline constexpr std::size_t kEndCommentLength = 20;
inline constexpr std::size_t kEndSize = 22;
inline constexpr std::size_t kMaxCommentLength = 0xFFFF;
// The record lies within this many bytes of the file's end.
inline constexpr std::size_t kEndSearchBytes = kEndSize + kMaxCommentLength;  // 65,557

// Zip64: a locator right before the end record points at a larger end record.
inline constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;  // "PK\6\7"
inline constexpr std::size_t kZip64LocatorEndDisk = 4;
inline constexpr std::size_t kZip64LocatorEndOffset = 8;
inline constexpr std::size_t kZip64LocatorDisks = 16;
inline constexpr std::size_t kZip64LocatorSize = 20;

inline constexpr std::uint32_t kZip64EndSignature = 0x06064b50;  // "PK\6\6"
inline constexpr std::size_t kZip64EndDisk = 16;
inline constexpr std::size_t kZip64EndDirectoryDisk = 20;
inline constexpr std::size_t kZip64EndEntriesOnDisk = 24;
inline constexpr std::size_t kZip64EndEntries = 32;
inline constexpr std::size_t kZip64EndDirectorySize = 40;
inline constexpr std::size_t kZip64EndDirectoryOffset = 48;
inline constexpr std::size_t kZip64EndSize = 56;

// A field of the classic records that holds this says "see the Zip64 record or extra field".
inline constexpr std::uint16_t kZip64Marker16 = 0xFFFF;
inline constexpr std::uint32_t kZip64Marker32 = 0xFFFFFFFF;

// Starts the first piece of an archive split or spanned over several files (and a data
// descriptor, which this reader never needs: the central directory holds the sizes).
inline constexpr std::uint32_t kSpannedSignature = 0x08074b50;  // "PK\7\x08"

// Extra fields: a 2-byte id and a 2-byte size, then that many bytes.
inline constexpr std::size_t kExtraId = 0;
inline constexpr std::size_t kExtraSize = 2;
inline constexpr std::size_t kExtraHeaderSize = 4;
// The sizes and offset that did not fit their 32-bit fields, in this order, each present
// only when its field holds kZip64Marker32.
inline constexpr std::uint16_t kZip64ExtraId = 0x0001;
// Info-ZIP's Unicode Path: a version byte, the CRC-32 of the header's own name, the name in
// UTF-8.
inline constexpr std::uint16_t kUnicodePathExtraId = 0x7075;
inline constexpr std::uint8_t kUnicodePathVersion = 1;
inline constexpr std::size_t kUnicodePathCrc = 1;
inline constexpr std::size_t kUnicodePathName = 5;

// General-purpose flags.
inline constexpr std::uint16_t kFlagEncrypted = 1u << 0;
inline constexpr std::uint16_t kFlagUtf8 = 1u << 11;

inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodDeflated = 8;
inline constexpr std::uint16_t kMethodAes = 99;  // WinZip's AES: always encrypted

// "Version made by": the upper byte names the system whose file attributes and name bytes
// the entry carries.
inline constexpr unsigned kHostShift = 8;
inline constexpr std::uint16_t kHostUnix = 3;
// Version 2.0: what deflate and folders need.
inline constexpr std::uint16_t kVersionDeflate = 20;
inline constexpr std::uint16_t kVersionStored = 10;

// MS-DOS time stamps: 1980-01-01 00:00, the earliest there is.
inline constexpr std::uint16_t kDosEpochTime = 0x0000;
inline constexpr std::uint16_t kDosEpochDate = (0 << 9) | (1 << 5) | 1;
// External attributes: MS-DOS's in the low byte, a Unix mode in the upper half.
inline constexpr std::uint32_t kDosFolderAttribute = 0x10;
inline constexpr unsigned kUnixModeShift = 16;
inline constexpr std::uint32_t kUnixFileMode = 0100644;    // a regular file, rw-r--r--
inline constexpr std::uint32_t kUnixFolderMode = 0040755;  // a folder, rwxr-xr-x

}  // namespace kitloom::zipformat
