#pragma once

#include <array>
#include <cstdint>

namespace kitloom {

// One custom jersey, passed by value. The list fields hold row indexes, except
// accessoryColour and shoe, which hold the stored codes (see JerseyLists.h).
struct JerseySpec {
    std::int32_t recordNumber = 0;  // set by the appender on its own copy
    std::int32_t teamNumber = 0;
    std::int32_t jerseyType = 0;
    std::array<char, 4> jerseyName{};  // exactly 4 characters, no terminator
    std::array<char, 8> year{};        // 7 characters; the eighth byte means nothing
    std::int32_t accessoryColour = 0;
    std::int32_t shoe = 0;
    std::int32_t sockColour = 0;
    std::int32_t neckType = 0;
    std::int32_t letteringType = 0;
};

inline constexpr std::size_t kJerseyNameLength = 4;
inline constexpr std::size_t kYearLength = 7;
inline constexpr std::size_t kTeamNumberDigits = 2;  // at most, on the form
inline constexpr std::uint32_t kHighestTeamNumber = [] {
    std::uint32_t highest = 0;
    for (std::size_t i = 0; i < kTeamNumberDigits; ++i)
        highest = highest * 10 + 9;
    return highest;
}();

}  // namespace kitloom
