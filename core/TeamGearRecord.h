#pragma once

#include "core/JerseySpec.h"
#include "core/TeamGearTable.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kitloom {

// The fields that pick out an installed jersey. Team number and type narrow the match
// when given.
struct JerseyMatch {
    std::array<char, kJerseyNameLength> jerseyName{};
    std::array<char, kYearLength> year{};
    std::optional<std::int32_t> teamNumber;
    std::optional<std::int32_t> jerseyType;
};

// A new jersey's record: `copied` with the fields of `spec` written over it.
TeamGearRecord composeRecord(const TeamGearRecord& copied, const JerseySpec& spec);

// True when `record` holds the match's fields exactly as composeRecord writes them.
bool matchesJersey(const TeamGearRecord& record, const JerseyMatch& match);

}  // namespace kitloom
