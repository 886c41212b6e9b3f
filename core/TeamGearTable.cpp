#include "core/TeamGearTable.h"

#include "core/LittleEndian.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <optional>

namespace kitloom {

using namespace teamgear;

namespace {

Done writeRecordCount(OpenFile& table, std::uint32_t count)
{
    const auto bytes = littleendian::uint32Bytes(count);
    return table.writeAt(kRecordCountOffset, bytes.data(), bytes.size());
}

// Takes a failed append back to a table that reads, whatever else fails on the way: the
// old count over the old records, the marker being optional. A tail that cannot be cut
// off is what an interrupted append leaves, which the next append cuts; and when the old
// count cannot be put back, the new record stays for a count that may already name it.
void rollBackAppend(OpenFile& table, const TableLayout& layout, bool countTouched)
{
    if (countTouched && !writeRecordCount(table, layout.count)) {
        table.flush();
        return;
    }
    if (table.truncate(layout.recordsEnd) && layout.hasMarker)
        table.writeAt(layout.recordsEnd, &kEndOfFileMarker, 1);
    table.flush();
}

// The count goes down before the record is cut, so an interruption leaves either the
// table as it was or one record past its count, which the next change cuts back.
bool removeLastRecord(OpenFile& table, std::uint32_t count, bool hasMarker, bool& recordCut, std::string& reason)
{
    const std::uint64_t newEnd = recordOffset(count - 1);
    if (!succeeded(writeRecordCount(table, count - 1), reason) || !succeeded(table.flush(), reason) ||
        !succeeded(table.truncate(newEnd), reason))
        return false;
    recordCut = true;
    return (!hasMarker || succeeded(table.writeAt(newEnd, &kEndOfFileMarker, 1), reason)) &&
           succeeded(table.flush(), reason);
}

// What a table that could not be opened or checked gives; none for one that reads. The
// count must describe the file, or the records read and the place written would be wrong.
std::optional<ResultCode> failedCheck(TableCheck check)
{
    switch (check) {
    case TableCheck::Missing:
        return ResultCode::NoTable;
    case TableCheck::Unreadable:
        return ResultCode::TableUnusable;
    case TableCheck::Damaged:
        return ResultCode::TableDamaged;
    case TableCheck::Sound:
    case TableCheck::InterruptedAppend:
        break;
    }
    return std::nullopt;
}

}  // namespace

TableCheck readTableLayout(OpenFile& table, TableLayout& layout, std::string& reason)
{
    layout = {};
    if (!succeeded(table.size(layout.size), reason))
        return TableCheck::Unreadable;
    if (layout.size < kRecordCountOffset + kRecordCountSize)
        return TableCheck::Damaged;
    std::uint8_t countBytes[kRecordCountSize];
    if (!succeeded(table.readAt(kRecordCountOffset, countBytes, sizeof countBytes), reason))
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
        if (!succeeded(table.readAt(layout.recordsEnd, &last, 1), reason))
            return TableCheck::Unreadable;
        layout.hasMarker = last == kEndOfFileMarker;
        if (layout.hasMarker)
            return TableCheck::Sound;
    }
    // Without a record, no append can have been under way.
    return layout.count == 0 ? TableCheck::Damaged : TableCheck::InterruptedAppend;
}

namespace {

// A table put back from its copy takes the place of the file another writer may be waiting
// to lock: that writer opens the table again once it holds the lock, or its change would go
// to a file no longer named. The program never puts a table back.
#ifndef KITLOOM_PROGRAM_COPY
constexpr int kReopeningsAfterReplacement = 3;
#endif

}  // namespace

TeamGearTable::TeamGearTable(FileSystem& fileSystem, const std::string& path, TableAccess access, TableWitness* witness)
    : access_(access), witness_(witness)
{
    report_.tablePath = path;
    std::string& reason = report_.reason;
    for (int reopenings = 0;; ++reopenings) {
        Opened opened = access == TableAccess::Read ? fileSystem.openForReading(path) : fileSystem.openForUpdate(path);
        file_ = std::move(opened.file);
        if (!file_) {
            reason = opened.reason;
            // Only a table the system says is not there ends a sweep; one it cannot reach is a
            // table that cannot be opened.
            report_.nameTooLong = fileSystem.nameTooLong(path);
            check_ = !report_.nameTooLong && fileSystem.missing(path) ? TableCheck::Missing : TableCheck::Unreadable;
            return;
        }
        if (access == TableAccess::Read)
            break;
        // The layout is read only once the lock is held: another writer in between would make
        // it stale.
        if (!succeeded(file_->lockExclusive(kWriterLockOffset, kWriterLockLength, kWriterLockWaitMilliseconds), reason)) {
            check_ = TableCheck::Unreadable;
            return;
        }
#ifdef KITLOOM_PROGRAM_COPY
        (void)reopenings;
        break;
#else
        if (reopenings == kReopeningsAfterReplacement || file_->isNamed(path))
            break;
#endif
    }
    check_ = readTableLayout(*file_, layout_, reason);
}

bool TeamGearTable::aboutToChange()
{
#ifdef KITLOOM_PROGRAM_COPY
    return true;  // the program keeps no journal
#else
    if (!witness_ || witnessed_)
        return true;
    witnessed_ = true;
    const Done recorded = witness_->beforeChange(report_.tablePath, *file_);
    if (recorded)
        return true;
    witness_ = nullptr;  // nothing changed, so there is nothing to tell after
    report_.reason = recorded.reason();
    report_.unrecorded = true;
    return false;
#endif
}

TableReport TeamGearTable::finish(ResultCode result)
{
    report_.result = result;
#ifndef KITLOOM_PROGRAM_COPY
    if (witness_ && witnessed_)
        witness_->afterChange(report_.tablePath, *file_, report_);
#endif
    if (result != ResultCode::TableUnusable)
        report_.reason.clear();
    return std::move(report_);
}

std::optional<ResultCode> TeamGearTable::whyNotReadyForChange()
{
    if (const auto failure = failedCheck(check_))
        return failure;
    // A table without records has none to copy, and none to keep.
    if (layout_.count == 0)
        return ResultCode::TableDamaged;
    if (check_ == TableCheck::InterruptedAppend && !cutInterruptedTail())
        return ResultCode::TableUnusable;
    return std::nullopt;
}

// The tail is a record whose count never came: it goes, and the table is closed with the
// marker as a sound one before the change begins. A dry run only updates the layout.
bool TeamGearTable::cutInterruptedTail()
{
    const std::uint64_t end = layout_.recordsEnd;
    if (!dryRun() && !aboutToChange())
        return false;
    if (!dryRun() && !(succeeded(file_->truncate(end), report_.reason) &&
                       succeeded(file_->writeAt(end, &kEndOfFileMarker, 1), report_.reason)))
        return false;
    layout_.size = end + 1;
    layout_.hasMarker = true;
    check_ = TableCheck::Sound;
    report_.unfinishedRecordCut = true;
    return true;
}

bool TeamGearTable::readRecord(std::uint32_t position, TeamGearRecord& record)
{
    return succeeded(file_->readAt(recordOffset(position - 1), record.data(), record.size()), report_.reason);
}

TableReport TeamGearTable::append(JerseySpec spec)
{
    if (check_ == TableCheck::Missing)
        return finish(ResultCode::NoTable);
    const std::uint32_t count = layout_.count;  // 0 unless it could be read
    if (count == kFullRecordCount)
        return finish(ResultCode::TableFull);
    if (const auto failure = whyNotReadyForChange())
        return finish(*failure);

    TeamGearRecord lastRecord{};
    if (!readRecord(count, lastRecord))
        return finish(ResultCode::TableUnusable);
    spec.recordNumber = static_cast<std::int32_t>(count + 1);
    const TeamGearRecord record = composeRecord(lastRecord, spec);
    if (dryRun()) {
        report_.recordNumber = count + 1;
        return finish(ResultCode::Appended);
    }

    if (!aboutToChange())
        return finish(ResultCode::TableUnusable);
    // The record goes in before the count, so an interrupted append leaves a table
    // that still reads.
    std::array<std::uint8_t, kRecordSize + 1> tail{};
    std::copy(record.begin(), record.end(), tail.begin());
    tail[kRecordSize] = kEndOfFileMarker;
    const std::size_t tailSize = layout_.hasMarker ? kRecordSize + 1 : kRecordSize;
    OpenFile& file = *file_;
    if (!succeeded(file.writeAt(layout_.recordsEnd, tail.data(), tailSize), report_.reason) ||
        !succeeded(file.flush(), report_.reason)) {
        rollBackAppend(file, layout_, false);
        return finish(ResultCode::TableUnusable);
    }
    if (!succeeded(writeRecordCount(file, count + 1), report_.reason) || !succeeded(file.flush(), report_.reason)) {
        rollBackAppend(file, layout_, true);
        return finish(ResultCode::TableUnusable);
    }
    report_.recordNumber = count + 1;
    return finish(ResultCode::Appended);
}

TableReport TeamGearTable::appendUnlessThere(const JerseySpec& spec)
{
    // A table that cannot be changed says why in append's words.
    if (check_ == TableCheck::Missing || layout_.count == kFullRecordCount || whyNotReadyForChange())
        return append(spec);
    // The latest installs are at the end: look there first.
    TeamGearRecord record{};
    for (std::uint32_t position = layout_.count; position >= 1; --position) {
        if (!readRecord(position, record))
            return finish(ResultCode::TableUnusable);
        if (holdsJersey(record, spec)) {
            report_.recordNumber = position;
            return finish(ResultCode::AlreadyThere);
        }
    }
    return append(spec);
}

TableReport TeamGearTable::removeLastWhile(const JerseyMatch& match)
{
    if (const auto failure = whyNotReadyForChange())
        return finish(*failure);
    OpenFile& file = *file_;
    std::uint32_t count = layout_.count;

    TeamGearRecord record{};
    while (count > 1) {
        if (!readRecord(count, record))
            return finish(ResultCode::TableUnusable);
        if (!matchesJersey(record, match))
            break;
        bool recordCut = false;
        if (!dryRun() && !aboutToChange())
            return finish(ResultCode::TableUnusable);
        if (!dryRun() && !removeLastRecord(file, count, layout_.hasMarker, recordCut, report_.reason)) {
            // A record cut is gone, marker or not; one still there gets its count back
            // (or, failing that, is a tail the next change cuts).
            if (recordCut) {
                --count;
                ++report_.removed;
            } else if (writeRecordCount(file, count)) {
                file.flush();
            }
            report_.countAfter = count;
            return finish(ResultCode::TableUnusable);
        }
        --count;
        ++report_.removed;
    }
    report_.countAfter = count;

    for (std::uint32_t position = 1; position <= count; ++position) {
        if (!readRecord(position, record))
            return finish(ResultCode::TableUnusable);
        if (matchesJersey(record, match))
            report_.matchesLeft.push_back(position);
    }
    if (report_.removed > 0)
        return finish(ResultCode::Removed);
    return finish(report_.matchesLeft.empty() ? ResultCode::NoMatch : ResultCode::MatchNotAtEnd);
}

TableReport TeamGearTable::removeLastIfExactly(const TeamGearRecord& expected)
{
    if (const auto failure = whyNotReadyForChange())
        return finish(*failure);
    const std::uint32_t count = layout_.count;
    TeamGearRecord last{};
    if (count > 1 && !readRecord(count, last))
        return finish(ResultCode::TableUnusable);
    report_.countAfter = count;
    if (count <= 1 || last != expected)
        return finish(ResultCode::NoMatch);
    bool recordCut = false;
    if (!dryRun() &&
        (!aboutToChange() || !removeLastRecord(*file_, count, layout_.hasMarker, recordCut, report_.reason))) {
        if (!recordCut && !report_.unrecorded && writeRecordCount(*file_, count))
            file_->flush();
        report_.removed = recordCut ? 1 : 0;
        report_.countAfter = count - report_.removed;
        return finish(ResultCode::TableUnusable);
    }
    report_.removed = 1;
    report_.countAfter = count - 1;
    return finish(ResultCode::Removed);
}

TableReport TeamGearTable::readRecords()
{
    if (const auto failure = failedCheck(check_))
        return finish(*failure);
    TeamGearRecord record{};
    for (std::uint32_t position = 1; position <= layout_.count; ++position) {
        if (!readRecord(position, record))
            return finish(ResultCode::TableUnusable);
        report_.records.push_back(record);
    }
    return finish(ResultCode::Read);
}

}  // namespace kitloom
