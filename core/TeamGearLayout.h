#pragma once

#include <cstddef>
#include <cstdint>

// Byte layout of a team-gear table (teamgear.dbf) as the game reads it.
namespace kitloom::teamgear {

inline constexpr std::uint64_t kHeaderSize = 386;
inline constexpr std::uint64_t kRecordCountOffset = 4;  // unsigned 32-bit little-endian
inline constexpr std::size_t kRecordCountSize = 4;
inline constexpr std::size_t kRecordSize = 29;
inline constexpr std::uint8_t kEndOfFileMarker = 0x1A;  // optional, after the last record
inline constexpr std::uint32_t kFullRecordCount = 999;
// Counts from here up would overflow the record number; no table holds that many.
inline constexpr std::uint32_t kFirstDamagedRecordCount = 0x7FFFFFFF;
// An append that stopped after its record but before its count leaves at most a record
// and a marker past the records the count names.
inline constexpr std::uint64_t kMaxInterruptedTail = kRecordSize + 1;

// Where record `index` (from 0) starts; for index = count, where the records end.
inline constexpr std::uint64_t recordOffset(std::uint64_t index) { return kHeaderSize + kRecordSize * index; }

// Writers lock this byte, far past the data of any table (even one of 2^31 records), so
// readers that take no lock, like the game, never meet it.
inline constexpr std::uint64_t kWriterLockOffset = std::uint64_t{1} << 62;
inline constexpr std::uint64_t kWriterLockLength = 1;
inline constexpr int kWriterLockWaitMilliseconds = 5000;

}  // namespace kitloom::teamgear
