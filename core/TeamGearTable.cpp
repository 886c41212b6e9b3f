#include "core/TeamGearTable.h"

#include "core/LittleEndian.h"
#include "platform/FileSystem.h"

namespace kitloom {

using namespace teamgear;

TableCheck readTableLayout(OpenFile& table, TableLayout& layout)
{
    layout = {};
    if (!table.size(layout.size))
        return TableCheck::Unreadable;
    if (layout.size < kRecordCountOffset + kRecordCountSize)
        return TableCheck::Damaged;
    std::uint8_t countBytes[kRecordCountSize];
    if (!table.readAt(kRecordCountOffset, countBytes, sizeof countBytes))
        return TableCheck::Unreadable;
    layout.count = littleendian::readUInt32(countBytes);

    if (layout.count >= kFirstDamagedRecordCount)
        return TableCheck::Damaged;

    layout.recordsEnd = kHeaderSize + std::uint64_t{kRecordSize} * layout.count;
    if (layout.size == layout.recordsEnd)
        return TableCheck::Sound;
    if (layout.size < layout.recordsEnd || layout.size > layout.recordsEnd + kMaxInterruptedTail)
        return TableCheck::Damaged;
    if (layout.size == layout.recordsEnd + 1) {
        std::uint8_t last = 0;
        if (!table.readAt(layout.recordsEnd, &last, 1))
            return TableCheck::Unreadable;
        layout.hasMarker = last == kEndOfFileMarker;
        if (layout.hasMarker)
            return TableCheck::Sound;
    }
    // Without a record, no append can have been under way.
    return layout.count == 0 ? TableCheck::Damaged : TableCheck::InterruptedAppend;
}

TableCheck forEachTeamGearRecord(FileSystem& fileSystem, const std::string& path,
                                 const std::function<void(const TeamGearRecord&)>& visit)
{
    std::unique_ptr<OpenFile> table = fileSystem.openForReading(path);
    if (!table)
        return fileSystem.exists(path) ? TableCheck::Unreadable : TableCheck::Missing;
    TableLayout layout;
    TableCheck check = readTableLayout(*table, layout);
    if (check != TableCheck::Sound && check != TableCheck::InterruptedAppend)
        return check;
    TeamGearRecord record;
    for (std::uint32_t i = 0; i < layout.count; ++i) {
        if (!table->readAt(kHeaderSize + std::uint64_t{kRecordSize} * i, record.data(), record.size()))
            return TableCheck::Unreadable;
        visit(record);
    }
    return TableCheck::Sound;
}

}  // namespace kitloom
