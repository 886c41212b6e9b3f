#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// 32-bit integers as both file formats store them: little-endian, byte by byte, so that
// neither the host's byte order nor alignment matters.
namespace kitloom::littleendian {

inline constexpr std::size_t kUInt32Size = 4;

// The integer in the 4 bytes at `bytes`.
inline std::uint32_t readUInt32(const void* bytes)
{
    const auto* at = static_cast<const unsigned char*>(bytes);
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

inline std::array<std::uint8_t, kUInt32Size> uint32Bytes(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// Writes the 4 bytes of `value` at `bytes`.
inline void writeUInt32(void* bytes, std::uint32_t value)
{
    auto* at = static_cast<unsigned char*>(bytes);
    for (std::uint8_t byte : uint32Bytes(value))
        *at++ = byte;
}

}  // namespace kitloom::littleendian
