#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kitloom {

// True when `text` holds nothing but the digits 0 to 9, as a Team Number, a list row typed
// as a number and a numbered save folder's name do; empty text holds no other character.
inline bool isDigits(std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; }

// True when `text` is a number written in digits alone, one at least.
inline bool isNumeral(std::string_view text) { return !text.empty() && isDigits(text); }

// The number a numeral writes; none for other text, or a number past 32 bits.
inline std::optional<std::uint32_t> numeralValue(std::string_view text)
{
    if (!isNumeral(text))
        return std::nullopt;
    std::uint32_t value = 0;
    // Digits alone are read to their end; only a number too large fails.
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc())
        return std::nullopt;
    return value;
}

// `digits` led by zeros to `width` characters; a longer text stays as it is.
inline std::string zeroPadded(std::string_view digits, std::size_t width)
{
    std::string padded(width > digits.size() ? width - digits.size() : 0, '0');
    padded += digits;
    return padded;
}

}  // namespace kitloom
