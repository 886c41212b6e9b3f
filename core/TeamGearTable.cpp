#include "core/TeamGearTable.h"

#include "core/LittleEndian.h"
#include "platform/FileSystem.h"
#include "platform/SystemError.h"

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

    layout.recordsEnd = recordOffset(layout.count);
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

TableCheck openTableForChange(FileSystem& fileSystem, const std::string& path, bool dryRun, TableForChange& table)
{
    table = {};
    // A dry run opens for writing too, so that a table a real run could not write is
    // reported as one.
    if (!succeeds(table.reason, [&] { return (table.file = fileSystem.openForUpdate(path)) != nullptr; }))
        return fileSystem.exists(path) ? TableCheck::Unreadable : TableCheck::Missing;
    if (!dryRun && !succeeds(table.reason, [&] {
            return table.file->lockExclusive(kWriterLockOffset, kWriterLockLength, kWriterLockWaitMilliseconds);
        }))
        return TableCheck::Unreadable;
    TableCheck check = TableCheck::Sound;
    succeeds(table.reason, [&] {
        check = readTableLayout(*table.file, table.layout);
        return check != TableCheck::Unreadable;
    });
    // A table without records has none to copy, and none to keep.
    if ((check == TableCheck::Sound || check == TableCheck::InterruptedAppend) && table.layout.count == 0)
        return TableCheck::Damaged;
    return check;
}

bool cutInterruptedTail(TableForChange& table, bool dryRun)
{
    const std::uint64_t end = table.layout.recordsEnd;
    if (!dryRun && !succeeds(table.reason, [&] {
            return table.file->truncate(end) && table.file->writeAt(end, &kEndOfFileMarker, 1);
        }))
        return false;
    table.layout.size = end + 1;
    table.layout.hasMarker = true;
    return true;
}

bool writeRecordCount(OpenFile& table, std::uint32_t count)
{
    const auto bytes = littleendian::uint32Bytes(count);
    return table.writeAt(kRecordCountOffset, bytes.data(), bytes.size());
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
        if (!table->readAt(recordOffset(i), record.data(), record.size()))
            return TableCheck::Unreadable;
        visit(record);
    }
    return TableCheck::Sound;
}

}  // namespace kitloom
