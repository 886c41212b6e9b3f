#include "core/TeamGearRemover.h"

#include "core/TeamGearLayout.h"
#include "core/TeamGearTable.h"
#include "platform/FileSystem.h"
#include "platform/SystemError.h"

namespace kitloom {

using namespace teamgear;

namespace {

bool readRecord(OpenFile& table, std::uint32_t position, TeamGearRecord& record)
{
    return table.readAt(recordOffset(position - 1), record.data(), record.size());
}

// The count goes down before the record is cut, so an interruption leaves either the
// table as it was or one record past its count, which the next append cuts back.
bool removeLastRecord(OpenFile& table, std::uint32_t count, bool hasMarker, bool& recordCut)
{
    const std::uint64_t newEnd = recordOffset(count - 1);
    if (!writeRecordCount(table, count - 1) || !table.flush() || !table.truncate(newEnd))
        return false;
    recordCut = true;
    return (!hasMarker || table.writeAt(newEnd, &kEndOfFileMarker, 1)) && table.flush();
}

}  // namespace

RemoveReport TeamGearRemover::removeJerseys(const std::string& tablePath, const JerseyMatch& match)
{
    RemoveReport report;
    report.tablePath = tablePath;
    TableForChange table;
    auto finish = [&](RemoveResult result) {
        report.result = result;
        if (result == RemoveResult::TableUnusable)
            report.reason = table.reason;
        return report;
    };

    switch (openTableForChange(fileSystem_, tablePath, dryRun_, table)) {
    case TableCheck::Missing:
        return finish(RemoveResult::NoTable);
    case TableCheck::Unreadable:
        return finish(RemoveResult::TableUnusable);
    case TableCheck::Damaged:
        return finish(RemoveResult::TableDamaged);
    case TableCheck::InterruptedAppend:
        if (!cutInterruptedTail(table, dryRun_))
            return finish(RemoveResult::TableUnusable);
        break;
    case TableCheck::Sound:
        break;
    }
    OpenFile& file = *table.file;
    std::uint32_t count = table.layout.count;

    TeamGearRecord record{};
    while (count > 1) {
        if (!succeeds(table.reason, [&] { return readRecord(file, count, record); }))
            return finish(RemoveResult::TableUnusable);
        if (!matchesJersey(record, match))
            break;
        bool recordCut = false;
        if (!dryRun_ &&
            !succeeds(table.reason, [&] { return removeLastRecord(file, count, table.layout.hasMarker, recordCut); })) {
            // A record cut is gone, marker or not; one still there gets its count back
            // (or, failing that, is a tail the next append cuts).
            if (recordCut) {
                --count;
                ++report.removed;
            } else if (writeRecordCount(file, count)) {
                file.flush();
            }
            report.countAfter = count;
            return finish(RemoveResult::TableUnusable);
        }
        --count;
        ++report.removed;
    }
    report.countAfter = count;

    for (std::uint32_t position = 1; position <= count; ++position) {
        if (!succeeds(table.reason, [&] { return readRecord(file, position, record); }))
            return finish(RemoveResult::TableUnusable);
        if (matchesJersey(record, match))
            report.matchesLeft.push_back(position);
    }
    if (report.removed > 0)
        return finish(RemoveResult::Removed);
    return finish(report.matchesLeft.empty() ? RemoveResult::NotFound : RemoveResult::NotAtEnd);
}

}  // namespace kitloom
