#include "core/TeamGearRecord.h"

#include "core/TeamGearLayout.h"

#include <algorithm>
#include <charconv>
#include <cstring>

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

}  // namespace

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
