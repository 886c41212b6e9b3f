#include "core/TeamGearFile.h"

#include "core/GamePaths.h"
#include "core/TeamGearLayout.h"
#include "core/TeamGearRecord.h"
#include "core/TeamGearTable.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kitloom {

using namespace teamgear;

namespace {

// Takes a failed append back to a table that reads, whatever else fails on the way: the
// old count over the old records, the marker being optional. A tail that cannot be cut
// off is what an interrupted append leaves, which the next append cuts; and when the old
// count cannot be put back, the new record stays for a count that may already name it.
void rollBack(OpenFile& table, std::uint64_t recordsEnd, bool hadMarker, std::uint32_t oldCount, bool countTouched)
{
    if (countTouched && !writeRecordCount(table, oldCount)) {
        table.flush();
        return;
    }
    if (table.truncate(recordsEnd) && hadMarker)
        table.writeAt(recordsEnd, &kEndOfFileMarker, 1);
    table.flush();
}

}  // namespace

const char* messageFor(ResultCode result)
{
    switch (result) {
    case ResultCode::Appended:
        return "";
    case ResultCode::NoTable:
        return "Invalid Directory!";
    case ResultCode::TableFull:
        return "There are already 999 jerseys!";
    case ResultCode::TableDamaged:
        return "The team gear file is damaged!";
    case ResultCode::TableUnusable:
        return "The team gear file couldn't be opened!";
    }
    return "";
}

TeamGearFile::TeamGearFile(FileSystem& fileSystem, Messages& messages, std::string gameFolder)
    : fileSystem_(fileSystem), messages_(messages), gameFolder_(std::move(gameFolder))
{
}

ResultCode TeamGearFile::appendJersey(const std::string& tablePath, JerseySpec spec, bool reportErrors)
{
    ResultCode result = append(tablePath, spec).result;
    if (reportErrors && result != ResultCode::Appended)
        showError(messages_, messageFor(result));
    return result;
}

TableReport TeamGearFile::append(const std::string& tablePath, JerseySpec spec)
{
    TableReport report;
    report.tablePath = tablePath;
    TableForChange table;
    auto finish = [&](ResultCode result) {
        report.result = result;
        if (result == ResultCode::TableUnusable)
            report.reason = table.reason;
        return report;
    };

    const TableCheck check = openTableForChange(fileSystem_, tablePath, dryRun_, table);
    if (check == TableCheck::Missing)
        return finish(ResultCode::NoTable);
    const std::uint32_t count = table.layout.count;  // 0 unless it could be read
    if (count == kFullRecordCount)
        return finish(ResultCode::TableFull);
    if (check == TableCheck::Unreadable)
        return finish(ResultCode::TableUnusable);
    // The count must describe the file, or the record copied and the place written would
    // both be wrong.
    if (check == TableCheck::Damaged)
        return finish(ResultCode::TableDamaged);
    // The tail is a record whose count never came: it goes, and the table is closed as a
    // sound one before the append begins.
    if (check == TableCheck::InterruptedAppend && !cutInterruptedTail(table, dryRun_))
        return finish(ResultCode::TableUnusable);
    OpenFile& file = *table.file;
    const std::uint64_t recordsEnd = table.layout.recordsEnd;
    const bool hasMarker = table.layout.hasMarker;

    TeamGearRecord lastRecord{};
    if (!succeeds(table.reason,
                  [&] { return file.readAt(recordsEnd - kRecordSize, lastRecord.data(), lastRecord.size()); }))
        return finish(ResultCode::TableUnusable);
    spec.recordNumber = static_cast<std::int32_t>(count + 1);
    const TeamGearRecord record = composeRecord(lastRecord, spec);
    if (dryRun_) {
        report.recordNumber = count + 1;
        return finish(ResultCode::Appended);
    }

    // The record goes in before the count, so an interrupted append leaves a table
    // that still reads.
    std::array<std::uint8_t, kRecordSize + 1> tail{};
    std::copy(record.begin(), record.end(), tail.begin());
    tail[kRecordSize] = kEndOfFileMarker;
    const std::size_t tailSize = hasMarker ? kRecordSize + 1 : kRecordSize;
    if (!succeeds(table.reason, [&] { return file.writeAt(recordsEnd, tail.data(), tailSize) && file.flush(); })) {
        rollBack(file, recordsEnd, hasMarker, count, false);
        return finish(ResultCode::TableUnusable);
    }
    if (!succeeds(table.reason, [&] { return writeRecordCount(file, count + 1) && file.flush(); })) {
        rollBack(file, recordsEnd, hasMarker, count, true);
        return finish(ResultCode::TableUnusable);
    }
    report.recordNumber = count + 1;
    return finish(ResultCode::Appended);
}

bool TeamGearFile::installJersey(std::string& tablePath, JerseySpec spec, bool reportErrors)
{
    if (reportErrors) {
        TableReport report = append(tablePath, spec);
        report.namedSave = true;
        const bool appended = report.result == ResultCode::Appended;
        if (!goOn(report))
            return appended;
        if (appended)
            showSuccess(messages_, "Jersey Installed Succesfully!");
        else
            showError(messages_, messageFor(report.result));
        return appended;
    }

    bool anyAppended = false;
    std::optional<ResultCode> firstFailure;
    for (int folder = 0; folder <= kHighestSaveFolder; ++folder) {
        tablePath = numberedSaveTablePath(gameFolder_, folder);
        const TableReport report = append(tablePath, spec);
        if (report.result == ResultCode::NoTable) {
            if (folder == 0) {
                showError(messages_, "Invalid Save Slot");
                return false;
            }
            break;
        }
        if (report.result == ResultCode::Appended)
            anyAppended = true;
        else if (!firstFailure)
            firstFailure = report.result;
        if (!goOn(report))
            return anyAppended;
    }
    if (anyAppended)
        showSuccess(messages_, "Jersey Installed Succesfully");
    else
        showError(messages_, messageFor(*firstFailure));
    return anyAppended;
}

}  // namespace kitloom
