#pragma once

namespace kitloom {

// A byte below 0x20, or 0x7F: a terminal obeys it, and no file name holds one.
inline constexpr bool isControlByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace kitloom
