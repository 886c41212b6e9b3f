#include "core/TeamGearRecord.h"

#include "core/Digits.h"
#include "core/TeamGearFields.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace kitloom {

using namespace teamgear;

namespace {

// The bytes of `spec` that `field` writes: a 32-bit number's, or a text's.
const char* valueIn(const JerseySpec& spec, const RecordFieldLayout& field)
{
    return reinterpret_cast<const char*>(&spec) + field.valueOffset;
}

// Writes the value of `spec` that `field` holds into `record`, as the field's form says.
void putField(TeamGearRecord& record, const RecordFieldLayout& field, const JerseySpec& spec)
{
    std::uint8_t* at = record.data() + field.offset;
    if (field.form == FieldForm::Text) {
        std::memcpy(at, valueIn(spec, field), field.size);
        return;
    }
    std::int32_t value = 0;
    std::memcpy(&value, valueIn(spec, field), sizeof value);
    char text[16] = {};
    char* digits = text;
    if (field.form == FieldForm::Code && value < 10)
        *digits++ = ' ';
    std::to_chars(digits, text + sizeof text - 1, value);
    const std::size_t length = std::min<std::size_t>(std::strlen(text), field.size);
    std::memcpy(at, text, length);
    std::memset(at + length, 0, field.size - length);
}

// A number's text without the spaces and zero bytes around it; a text's bytes as they are.
std::string_view fieldText(const TeamGearRecord& record, const RecordFieldLayout& field)
{
    std::string_view text(reinterpret_cast<const char*>(record.data()) + field.offset, field.size);
    if (field.form != FieldForm::Text) {
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
    for (const RecordFieldLayout& layout : kRecordFields) {
        RecordField field{layout.key, layout.form != FieldForm::Text, std::string(fieldText(record, layout)),
                          std::nullopt};
        if (layout.list)
            field.label = labelOf(*layout.list, field.text);
        fields.push_back(std::move(field));
    }
    return fields;
}

TeamGearRecord composeRecord(const TeamGearRecord& copied, const JerseySpec& spec)
{
    TeamGearRecord record = copied;
    for (const RecordFieldLayout& field : kRecordFields)
        putField(record, field, spec);
    return record;
}

bool holdsJersey(const TeamGearRecord& record, const JerseySpec& spec)
{
    TeamGearRecord probe = record;
    for (const RecordFieldLayout& field : kRecordFields) {
        if (field.valueOffset != offsetof(JerseySpec, recordNumber))
            putField(probe, field, spec);
    }
    return probe == record;
}

// Writing the match's fields over a record that holds them changes nothing, so the
// encoding is the appender's own.
bool matchesJersey(const TeamGearRecord& record, const JerseyMatch& match)
{
    JerseySpec wanted;
    std::copy(match.jerseyName.begin(), match.jerseyName.end(), wanted.jerseyName.begin());
    std::copy(match.year.begin(), match.year.end(), wanted.year.begin());
    wanted.teamNumber = match.teamNumber.value_or(0);
    wanted.jerseyType = match.jerseyType.value_or(0);
    TeamGearRecord probe = record;
    for (const RecordFieldLayout& field : kRecordFields) {
        const bool compared = field.form == FieldForm::Text ||
                              (field.valueOffset == offsetof(JerseySpec, teamNumber) && match.teamNumber) ||
                              (field.valueOffset == offsetof(JerseySpec, jerseyType) && match.jerseyType);
        if (compared)
            putField(probe, field, wanted);
    }
    return probe == record;
}

}  // namespace kitloom
