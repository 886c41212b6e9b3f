#include "core/TeamGearRecord.h"

#include "core/Digits.h"
#include "core/JerseyFields.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace kitloom {

namespace {

// Writes the value of `spec` that `field` holds into `record`, as the field's form says.
void putField(TeamGearRecord& record, const JerseyField& field, const JerseySpec& spec)
{
    std::uint8_t* at = record.data() + field.record.offset;
    const std::size_t size = field.record.size;
    if (field.holdsText()) {
        std::memcpy(at, valueIn(spec, field).data(), size);
        return;
    }
    const std::int32_t value = numberIn(spec, field);
    char text[16] = {};
    char* digits = text;
    if (field.record.form == FieldForm::Code && value < 10)
        *digits++ = ' ';
    std::to_chars(digits, text + sizeof text - 1, value);
    const std::size_t length = std::min<std::size_t>(std::strlen(text), size);
    std::memcpy(at, text, length);
    std::memset(at + length, 0, size - length);
}

// A number's text without the spaces and zero bytes around it; a text's bytes as they are.
std::string_view fieldText(const TeamGearRecord& record, const JerseyField& field)
{
    std::string_view text(reinterpret_cast<const char*>(record.data()) + field.record.offset, field.record.size);
    if (!field.holdsText()) {
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
    for (const JerseyField& layout : kJerseyFields) {
        RecordField field{layout.key, !layout.holdsText(), std::string(fieldText(record, layout)), std::nullopt};
        // A shoe's code names no one row: the table holds row + 1 after Go! and row + 2 after a patch.
        if (layout.list && *layout.list != JerseyList::Shoe)
            field.label = labelOf(*layout.list, field.text);
        fields.push_back(std::move(field));
    }
    return fields;
}

TeamGearRecord composeRecord(const TeamGearRecord& copied, const JerseySpec& spec)
{
    TeamGearRecord record = copied;
    for (const JerseyField& field : kJerseyFields)
        putField(record, field, spec);
    return record;
}

bool holdsJersey(const TeamGearRecord& record, const JerseySpec& spec)
{
    TeamGearRecord probe = record;
    for (const JerseyField& field : kJerseyFields) {
        if (&field != &jerseyField("record"))
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
    putField(probe, jerseyField("name"), wanted);
    putField(probe, jerseyField("year"), wanted);
    if (match.teamNumber)
        putField(probe, jerseyField("team"), wanted);
    if (match.jerseyType)
        putField(probe, jerseyField("type"), wanted);
    return probe == record;
}

}  // namespace kitloom
