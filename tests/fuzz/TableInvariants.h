// What an append may make of a team-gear table, judged from the bytes alone.
#pragma once

#include "core/JerseyFields.h"
#include "core/JerseySpec.h"
#include "core/LittleEndian.h"
#include "core/TeamGearLayout.h"

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>

namespace kitloom::fuzz {

inline void require(bool condition)
{
    if (!condition)
        std::abort();
}

inline std::uint32_t countOf(const std::string& table)
{
    return littleendian::readUInt32(table.data() + teamgear::kRecordCountOffset);
}

// A table the appender must append to: records to copy, room below 999, a count that
// matches the size but for a marker or the tail of an interrupted append.
inline bool takesAnAppend(const std::string& table)
{
    if (table.size() < teamgear::kHeaderSize)
        return false;
    const std::uint32_t count = countOf(table);
    if (count == 0 || count == teamgear::kFullRecordCount || count >= teamgear::kFirstDamagedRecordCount)
        return false;
    const std::uint64_t end = teamgear::recordOffset(count);
    return table.size() >= end && table.size() <= end + teamgear::kMaxInterruptedTail;
}

// `after` is `before` with one record more: the header but its count kept, the count one
// higher, the new record a copy of the last with the jersey's name and year; the marker
// kept, or, where an interrupted append's tail was cut off, put at the end.
inline bool isAppendOf(const std::string& before, const std::string& after, const JerseySpec& spec)
{
    using namespace teamgear;
    if (!takesAnAppend(before))
        return false;
    const std::uint32_t count = countOf(before);
    const std::uint64_t end = teamgear::recordOffset(count);
    // A sound table keeps its marker; a cut-back tail leaves one.
    const bool marker = before.size() > end;
    if (after.size() != end + kRecordSize + (marker ? 1 : 0) || countOf(after) != count + 1)
        return false;
    if (after.compare(0, kRecordCountOffset, before, 0, kRecordCountOffset) != 0 ||
        after.compare(8, end - 8, before, 8, end - 8) != 0)
        return false;
    if (marker && static_cast<std::uint8_t>(after.back()) != kEndOfFileMarker)
        return false;
    const std::string last = before.substr(end - kRecordSize, kRecordSize);
    const std::string record = after.substr(end, kRecordSize);
    const std::string number = std::to_string(count + 1);
    for (std::size_t kept : {0, 1, 2, 22, 28}) {
        if (record[kept] != last[kept])
            return false;
    }
    constexpr auto kNumber = jerseyField("record").record;
    constexpr auto kName = jerseyField("name").record;
    constexpr auto kYear = jerseyField("year").record;
    const std::size_t digits = std::min<std::size_t>(number.size(), kNumber.size);
    return record.compare(kNumber.offset, digits, number, 0, digits) == 0 &&
           record.compare(kName.offset, kName.size, spec.jerseyName.data(), kName.size) == 0 &&
           record.compare(kYear.offset, kYear.size, spec.year.data(), kYear.size) == 0;
}

}  // namespace kitloom::fuzz
