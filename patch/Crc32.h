#pragma once

#include <cstddef>
#include <cstdint>

namespace kitloom {

// The CRC-32 that zip stores for each entry (zlib's), summed over bytes given in pieces.
class Crc32 {
public:
    void add(const void* data, std::size_t size);
    std::uint32_t value() const { return value_; }

private:
    std::uint32_t value_ = 0;
};

}  // namespace kitloom
