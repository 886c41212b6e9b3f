#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kitloom {

// SHA-256 of bytes fed in pieces: the journal names each table, patch and image it saw by
// this digest, so that a file is known to be the one recorded, byte for byte.
class Sha256 {
public:
    Sha256();
    void add(const void* data, std::size_t size);
    void add(std::string_view bytes) { add(bytes.data(), bytes.size()); }
    // The digest as 64 lowercase hex digits; the object is spent.
    std::string hexDigest();

private:
    void compressBlock(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> pending_{};
    std::size_t pendingSize_ = 0;
    std::uint64_t totalBytes_ = 0;
};

inline std::string sha256Hex(std::string_view bytes)
{
    Sha256 digest;
    digest.add(bytes);
    return digest.hexDigest();
}

}  // namespace kitloom
