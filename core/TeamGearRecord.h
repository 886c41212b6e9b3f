#pragma once

#include "core/JerseyLists.h"
#include "core/JerseySpec.h"
#include "core/SweepReport.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// True when `record` holds every field of `spec` but the record number exactly as
// composeRecord writes them.
bool holdsJersey(const TeamGearRecord& record, const JerseySpec& spec);

// True when `record` holds the match's fields exactly as composeRecord writes them.
bool matchesJersey(const TeamGearRecord& record, const JerseyMatch& match);

// One field of a record as a reader sees it, at the place composeRecord writes it.
struct RecordField {
    const char* key;  // "record", "team", "type", "name", "year", "accessory", "shoe", ...
    // Decimal text, given without the spaces and zero bytes around it; the others
    // (name and year) are code page 1252 text, byte for byte.
    bool numeric = false;
    std::string text;
    // For a field from a list: the label of the row its code names, empty when it names
    // none. The shoe has none: the table holds row + 1 after Go! and row + 2 after a patch.
    std::optional<std::string> label;
};

// Every field that composeRecord writes, in the record's order.
std::vector<RecordField> decodeRecord(const TeamGearRecord& record);

}  // namespace kitloom
