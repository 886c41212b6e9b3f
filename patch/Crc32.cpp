#include "patch/Crc32.h"

#include <zlib.h>

namespace kitloom {

void Crc32::add(const void* data, std::size_t size)
{
    value_ = static_cast<std::uint32_t>(crc32_z(value_, static_cast<const Bytef*>(data), size));
}

}  // namespace kitloom
