#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The little-endian integers of zip records, read and written byte by byte, so that neither
// the host's byte order nor alignment matters.
namespace kitloom::zipbytes {

inline std::uint64_t readLittleEndian(const char* at, std::size_t size)
{
    std::uint64_t value = 0;
    for (std::size_t byte = size; byte-- > 0;)
        value = value << 8 | static_cast<unsigned char>(at[byte]);
    return value;
}

inline std::uint16_t read16(const char* at) { return static_cast<std::uint16_t>(readLittleEndian(at, 2)); }
inline std::uint32_t read32(const char* at) { return static_cast<std::uint32_t>(readLittleEndian(at, 4)); }
inline std::uint64_t read64(const char* at) { return readLittleEndian(at, 8); }

// The field at `offset` of `record`, which the caller has checked holds it.
inline std::uint16_t read16(std::string_view record, std::size_t offset) { return read16(record.data() + offset); }
inline std::uint32_t read32(std::string_view record, std::size_t offset) { return read32(record.data() + offset); }
inline std::uint64_t read64(std::string_view record, std::size_t offset) { return read64(record.data() + offset); }

inline void writeLittleEndian(char* at, std::uint64_t value, std::size_t size)
{
    for (std::size_t byte = 0; byte < size; ++byte, value >>= 8)
        at[byte] = static_cast<char>(value & 0xFF);
}

inline void write16(char* at, std::uint16_t value) { writeLittleEndian(at, value, 2); }
inline void write32(char* at, std::uint32_t value) { writeLittleEndian(at, value, 4); }

}  // namespace kitloom::zipbytes
