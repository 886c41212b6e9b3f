#pragma once

#include "core/JerseyLists.h"
#include "core/JerseySpec.h"
#include "core/LittleEndian.h"
#include "core/TeamGearLayout.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <span>
#include <string_view>

// A jersey's fields, each described once: its name, its title, where a JerseySpec holds it,
// the list its codes come from, and where a team-gear record and a patch's trailer keep it.
// Composing, matching and decoding records, encoding, decoding and checking trailers,
// reading the form, list and show all go by this table.
namespace kitloom {

// How a team-gear record holds a field's value.
enum class FieldForm : std::uint8_t {
    Number,  // decimal text as "%d" writes it, cut to the field, then zero bytes
    Code,    // the same, led by a space below 10, so that both bytes are text
    Text,    // the jersey's bytes as they are
};

// A trailer's numbers are unsigned 32-bit little-endian; its texts are raw.
inline constexpr std::uint8_t kTrailerNumberSize = littleendian::kUInt32Size;

// Byte-wide columns and texts held in the row, not behind pointers, keep the table small in
// kitloom.exe.
struct JerseyField {
    char key[10];                    // as list, show and their JSON name it
    char title[17];                  // as the form labels it; empty for the record number, which it lacks
    std::uint8_t member;             // where the JerseySpec holds the value (see valueIn)
    std::optional<JerseyList> list;  // the list whose row a code names
    struct {
        std::uint8_t offset;  // from the start of the record
        std::uint8_t size;
        FieldForm form;
    } record;
    struct {
        std::uint8_t offset;  // from the start of the trailer
        std::uint8_t size;    // 0 where the trailer lacks the field
    } trailer;

    constexpr bool holdsText() const { return record.form == FieldForm::Text; }
    constexpr bool inTrailer() const { return trailer.size != 0; }
    // A 32-bit number, or a text of as many bytes as its record field.
    constexpr std::size_t valueSize() const { return holdsText() ? record.size : sizeof(std::int32_t); }
};

// In the JerseySpec's order, which is the record's and the trailer's. Bytes 0 to 2, 22 and 28
// of a new jersey's record keep what the copied record held.
inline constexpr JerseyField kJerseyFields[] = {
    // key, title, member, list, {record offset, size, form}, {trailer offset, size}
    {"record", "", offsetof(JerseySpec, recordNumber), {}, {3, 3, FieldForm::Number}, {0, 0}},
    {"team", "Team Number", offsetof(JerseySpec, teamNumber), {}, {6, 2, FieldForm::Number}, {0, kTrailerNumberSize}},
    {"type",
     "Jersey Type",
     offsetof(JerseySpec, jerseyType),
     JerseyList::JerseyType,
     {8, 1, FieldForm::Number},
     {4, kTrailerNumberSize}},
    {"name",
     "Jersey Name",
     offsetof(JerseySpec, jerseyName),
     {},
     {9, kJerseyNameLength, FieldForm::Text},
     {8, kJerseyNameLength}},
    {"year", "Year", offsetof(JerseySpec, year), {}, {13, kYearLength, FieldForm::Text}, {12, kYearLength}},
    {"accessory",
     "Accessory Colour",
     offsetof(JerseySpec, accessoryColour),
     JerseyList::AccessoryColour,
     {20, 2, FieldForm::Code},
     {19, kTrailerNumberSize}},
    {"shoe", "Shoe", offsetof(JerseySpec, shoe), JerseyList::Shoe, {23, 2, FieldForm::Code}, {23, kTrailerNumberSize}},
    {"sock",
     "Sock Colour",
     offsetof(JerseySpec, sockColour),
     JerseyList::SockColour,
     {25, 1, FieldForm::Number},
     {27, kTrailerNumberSize}},
    {"neck",
     "Neck Type",
     offsetof(JerseySpec, neckType),
     JerseyList::NeckType,
     {26, 1, FieldForm::Number},
     {31, kTrailerNumberSize}},
    {"lettering",
     "Lettering Type",
     offsetof(JerseySpec, letteringType),
     JerseyList::LetteringType,
     {27, 1, FieldForm::Number},
     {35, kTrailerNumberSize}},
};

// Every field lies within the record and every value within the JerseySpec; a text takes
// as many bytes in the trailer as in the record, a number a trailer number's.
static_assert(std::all_of(std::begin(kJerseyFields), std::end(kJerseyFields), [](const JerseyField& field) {
    const bool trailerSized = !field.inTrailer() ||
                              field.trailer.size == (field.holdsText() ? field.record.size : kTrailerNumberSize);
    return field.record.offset + field.record.size <= teamgear::kRecordSize &&
           field.member + field.valueSize() <= sizeof(JerseySpec) && trailerSized;
}));
// Each list is one field's, which titles it.
static_assert(std::all_of(std::begin(kAllJerseyLists), std::end(kAllJerseyLists), [](JerseyList list) {
    return std::count_if(std::begin(kJerseyFields), std::end(kJerseyFields),
                         [list](const JerseyField& field) { return field.list == list; }) == 1;
}));

// The field called `key`, found while compiling: a key the table lacks does not compile.
consteval const JerseyField& jerseyField(std::string_view key)
{
    std::size_t i = 0;
    while (key != kJerseyFields[i].key)
        ++i;
    return kJerseyFields[i];
}

// The bytes of `spec` that hold `field`'s value: the one way from a row to its member.
inline std::span<const char> valueIn(const JerseySpec& spec, const JerseyField& field)
{
    return {reinterpret_cast<const char*>(&spec) + field.member, field.valueSize()};
}
inline std::span<char> valueIn(JerseySpec& spec, const JerseyField& field)
{
    return {reinterpret_cast<char*>(&spec) + field.member, field.valueSize()};
}
// A number field's value.
inline std::int32_t numberIn(const JerseySpec& spec, const JerseyField& field)
{
    std::int32_t value = 0;
    std::memcpy(&value, valueIn(spec, field).data(), sizeof value);
    return value;
}
inline void setNumber(JerseySpec& spec, const JerseyField& field, std::int32_t value)
{
    std::memcpy(valueIn(spec, field).data(), &value, sizeof value);
}

}  // namespace kitloom
