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
