#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// Letters matched in any case by ASCII alone: the game's names, launchers' keys and typed
// labels compare the same whatever locale the terminal set, and a byte of another encoding
// is never changed.
namespace kitloom {

inline constexpr char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string asciiLowered(std::string_view text)
{
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), asciiLower);
    return lowered;
}

inline constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

inline constexpr bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && equalsIgnoringAsciiCase(text.substr(0, start.size()), start);
}

inline constexpr bool endsWithIgnoringAsciiCase(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && equalsIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

}  // namespace kitloom
