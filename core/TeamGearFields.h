#pragma once

#include "core/JerseyLists.h"
#include "core/JerseySpec.h"
#include "core/TeamGearLayout.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>

// The fields of a team-gear record that a new jersey's record is written into: where each
// lies and how it is written. Composing, matching and reading a record all go by this table.
// Bytes 0 to 2, 22 and 28 keep what the copied record held.
namespace kitloom::teamgear {

// How a field holds its value.
enum class FieldForm : std::uint8_t {
    Number,  // decimal text as "%d" writes it, cut to the field, then zero bytes
    Code,    // the same, led by a space below 10, so that both bytes are text
    Text,    // the jersey's bytes as they are
};

// Byte-wide columns and a key held in the row, not behind a pointer, keep the table small in
// kitloom.exe.
struct RecordFieldLayout {
    char key[10];         // as list and JSON name it
    std::uint8_t offset;  // from the start of the record
    std::uint8_t size;
    FieldForm form;
    std::uint8_t valueOffset;        // where the JerseySpec holds the value: a 32-bit number, or a text
    std::optional<JerseyList> list;  // the list whose row a number names, for its label
};

// In the record's order.
inline constexpr RecordFieldLayout kRecordFields[] = {
    {"record", 3, 3, FieldForm::Number, offsetof(JerseySpec, recordNumber), {}},
    {"team", 6, 2, FieldForm::Number, offsetof(JerseySpec, teamNumber), {}},
    {"type", 8, 1, FieldForm::Number, offsetof(JerseySpec, jerseyType), JerseyList::JerseyType},
    {"name", 9, kJerseyNameLength, FieldForm::Text, offsetof(JerseySpec, jerseyName), {}},
    {"year", 13, kYearLength, FieldForm::Text, offsetof(JerseySpec, year), {}},
    {"accessory", 20, 2, FieldForm::Code, offsetof(JerseySpec, accessoryColour), JerseyList::AccessoryColour},
    // No label: the table holds row + 1 after Go! and row + 2 after a patch.
    {"shoe", 23, 2, FieldForm::Code, offsetof(JerseySpec, shoe), {}},
    {"sock", 25, 1, FieldForm::Number, offsetof(JerseySpec, sockColour), JerseyList::SockColour},
    {"neck", 26, 1, FieldForm::Number, offsetof(JerseySpec, neckType), JerseyList::NeckType},
    {"lettering", 27, 1, FieldForm::Number, offsetof(JerseySpec, letteringType), JerseyList::LetteringType},
};
// Every field lies within the record, and every value within the JerseySpec.
static_assert(std::all_of(std::begin(kRecordFields), std::end(kRecordFields), [](const RecordFieldLayout& field) {
    const std::size_t valueSize = field.form == FieldForm::Text ? field.size : sizeof(std::int32_t);
    return field.offset + field.size <= kRecordSize && field.valueOffset + valueSize <= sizeof(JerseySpec);
}));

// The field called `key`, found while compiling: a key the table lacks does not compile.
consteval const RecordFieldLayout& recordField(std::string_view key)
{
    std::size_t i = 0;
    while (key != kRecordFields[i].key)
        ++i;
    return kRecordFields[i];
}

}  // namespace kitloom::teamgear
