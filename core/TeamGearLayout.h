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

struct Field {
    std::size_t offset;  // from the start of the record
    std::size_t size;
};

// The fields a new jersey record overwrites. Bytes 0 to 2, 22 and 28 keep what the
// copied record held.
inline constexpr Field kRecordNumberField{3, 3};
inline constexpr Field kTeamNumberField{6, 2};
inline constexpr Field kJerseyTypeField{8, 1};
inline constexpr Field kJerseyNameField{9, 4};
inline constexpr Field kYearField{13, 7};
inline constexpr Field kAccessoryColourField{20, 2};
inline constexpr Field kShoeField{23, 2};
inline constexpr Field kSockColourField{25, 1};
inline constexpr Field kNeckTypeField{26, 1};
inline constexpr Field kLetteringTypeField{27, 1};

}  // namespace kitloom::teamgear
