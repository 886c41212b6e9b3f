#include "core/TeamGearRecord.h"

#include "core/Digits.h"
#include "core/TeamGearLayout.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>

namespace kitloom {

using namespace teamgear;

namespace {

// The field takes the first `field.size` characters of the text; a shorter text is
// followed by zero bytes.
void putText(TeamGearRecord& record, Field field, const char* text)
{
    std::size_t length = std::min(std::strlen(text), field.size);
    std::memcpy(record.data() + field.offset, text, length);
    std::memset(record.data() + field.offset + length, 0, field.size - length);
}

// Decimal text of `value`, as "%d" writes it, after `lead`.
void putDecimal(TeamGearRecord& record, Field field, std::int32_t value, const char* lead = "")
{
    char text[16] = {};
    std::size_t leadLength = std::strlen(lead);
    std::memcpy(text, lead, leadLength);
    std::to_chars(text + leadLength, text + sizeof text - 1, value);
    putText(record, field, text);
}

void putNumber(TeamGearRecord& record, Field field, std::int32_t value) { putDecimal(record, field, value); }

// Codes below 10 get a leading space, so that both bytes of the field are text.
void putCode(TeamGearRecord& record, Field field, std::int32_t value)
{
    putDecimal(record, field, value, value < 10 ? " " : "");
}

void putBytes(TeamGearRecord& record, Field field, const char* bytes)
{
    std::memcpy(record.data() + field.offset, bytes, field.size);
}

struct FieldColumn {
    const char* key;
    Field field;
    bool numeric;
    std::optional<JerseyList> list;
};

const FieldColumn kColumns[] = {
    {"record", kRecordNumberField, true, std::nullopt},
    {"team", kTeamNumberField, true, std::nullopt},
    {"type", kJerseyTypeField, true, JerseyList::JerseyType},
    {"name", kJerseyNameField, false, std::nullopt},
    {"year", kYearField, false, std::nullopt},
    {"accessory", kAccessoryColourField, true, JerseyList::AccessoryColour},
    {"shoe", kShoeField, true, std::nullopt},
    {"sock", kSockColourField, true, JerseyList::SockColour},
    {"neck", kNeckTypeField, true, JerseyList::NeckType},
    {"lettering", kLetteringTypeField, true, JerseyList::LetteringType},
};

std::string_view fieldText(const TeamGearRecord& record, const FieldColumn& column)
{
    std::string_view text(reinterpret_cast<const char*>(record.data()) + column.field.offset, column.field.size);
    if (column.numeric) {
        constexpr std::string_view kPadding(" \0", 2);
        const std::size_t first = text.find_first_not_of(kPadding);
        if (first == std::string_view::npos)
            return {};
        text = text.substr(first, text.find_last_not_of(kPadding) - first + 1);
    }
    return text;
}

std::string labelOf(JerseyList list, std::string_view text)
{
    const auto code = numeralValue(text);
    return code ? labelOfCode(list, *code) : std::string();
}

}  // namespace

std::vector<RecordField> decodeRecord(const TeamGearRecord& record)
{
    std::vector<RecordField> fields;
    for (const FieldColumn& column : kColumns) {
        RecordField field{column.key, column.numeric, std::string(fieldText(record, column)), std::nullopt};
        if (column.list)
            field.label = labelOf(*column.list, field.text);
        fields.push_back(std::move(field));
    }
    return fields;
}

TeamGearRecord composeRecord(const TeamGearRecord& copied, const JerseySpec& spec)
{
    TeamGearRecord record = copied;
    putNumber(record, kRecordNumberField, spec.recordNumber);
    putNumber(record, kTeamNumberField, spec.teamNumber);
    putNumber(record, kJerseyTypeField, spec.jerseyType);
    putBytes(record, kJerseyNameField, spec.jerseyName.data());
    putBytes(record, kYearField, spec.year.data());
    putCode(record, kAccessoryColourField, spec.accessoryColour);
    putCode(record, kShoeField, spec.shoe);
    putNumber(record, kSockColourField, spec.sockColour);
    putNumber(record, kNeckTypeField, spec.neckType);
    putNumber(record, kLetteringTypeField, spec.letteringType);
    return record;
}

bool holdsJersey(const TeamGearRecord& record, const JerseySpec& spec)
{
    TeamGearRecord probe = composeRecord(record, spec);
    std::copy_n(record.begin() + kRecordNumberField.offset, kRecordNumberField.size,
                probe.begin() + kRecordNumberField.offset);
    return probe == record;
}

// Writing the match's fields over a record that holds them changes nothing, so the
// encoding is the appender's own.
bool matchesJersey(const TeamGearRecord& record, const JerseyMatch& match)
{
    TeamGearRecord probe = record;
    putBytes(probe, kJerseyNameField, match.jerseyName.data());
    putBytes(probe, kYearField, match.year.data());
    if (match.teamNumber)
        putNumber(probe, kTeamNumberField, *match.teamNumber);
    if (match.jerseyType)
        putNumber(probe, kJerseyTypeField, *match.jerseyType);
    return probe == record;
}

}  // namespace kitloom
