#include "core/TeamGearFile.h"

#include "core/GamePaths.h"
#include "core/LittleEndian.h"
#include "core/TeamGearLayout.h"
#include "core/TeamGearTable.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <optional>

namespace kitloom {

using namespace teamgear;

namespace {

using Record = std::array<std::uint8_t, kRecordSize>;

// The field takes the first `field.size` characters of the text; a shorter text is
// followed by zero bytes.
void putText(Record& record, Field field, const char* text)
{
    std::size_t length = std::min(std::strlen(text), field.size);
    std::memcpy(record.data() + field.offset, text, length);
    std::memset(record.data() + field.offset + length, 0, field.size - length);
}

// Decimal text of `value`, as "%d" writes it, after `lead`.
void putDecimal(Record& record, Field field, std::int32_t value, const char* lead = "")
{
    char text[16] = {};
    std::size_t leadLength = std::strlen(lead);
    std::memcpy(text, lead, leadLength);
    std::to_chars(text + leadLength, text + sizeof text - 1, value);
    putText(record, field, text);
}

void putNumber(Record& record, Field field, std::int32_t value) { putDecimal(record, field, value); }

// Codes below 10 get a leading space, so that both bytes of the field are text.
void putCode(Record& record, Field field, std::int32_t value)
{
    putDecimal(record, field, value, value < 10 ? " " : "");
}

void putBytes(Record& record, Field field, const char* bytes)
{
    std::memcpy(record.data() + field.offset, bytes, field.size);
}

Record composeRecord(const Record& lastRecord, const JerseySpec& spec)
{
    Record record = lastRecord;
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

// Takes a failed append back to a table that reads, whatever else fails on the way: the
// old count over the old records, the marker being optional. A tail that cannot be cut
// off is what an interrupted append leaves, which the next append cuts; and when the old
// count cannot be put back, the new record stays for a count that may already name it.
void rollBack(OpenFile& table, std::uint64_t recordsEnd, bool hadMarker, std::uint32_t oldCount, bool countTouched)
{
    if (countTouched) {
        auto count = littleendian::uint32Bytes(oldCount);
        if (!table.writeAt(kRecordCountOffset, count.data(), count.size())) {
            table.flush();
            return;
        }
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
    ResultCode result = append(tablePath, spec);
    if (reportErrors && result != ResultCode::Appended)
        showError(messages_, messageFor(result));
    return result;
}

ResultCode TeamGearFile::append(const std::string& tablePath, JerseySpec spec)
{
    // Open first and look only on failure: a sweep then costs one call less per table.
    std::unique_ptr<OpenFile> table = fileSystem_.openForUpdate(tablePath);
    if (!table)
        return fileSystem_.exists(tablePath) ? ResultCode::TableUnusable : ResultCode::NoTable;

    // Another writer between our reading the layout and raising the count would lose a
    // record, so the layout is read only once the lock is held.
    if (!table->lockExclusive(kWriterLockOffset, kWriterLockLength, kWriterLockWaitMilliseconds))
        return ResultCode::TableUnusable;

    TableLayout layout;
    const TableCheck check = readTableLayout(*table, layout);
    const std::uint32_t count = layout.count;  // 0 unless it could be read
    if (count == kFullRecordCount)
        return ResultCode::TableFull;
    if (check == TableCheck::Unreadable)
        return ResultCode::TableUnusable;
    // The count must describe the file, or the record copied and the place written would
    // both be wrong; and a table without records has none to copy.
    if ((check != TableCheck::Sound && check != TableCheck::InterruptedAppend) || count == 0)
        return ResultCode::TableDamaged;
    const std::uint64_t recordsEnd = layout.recordsEnd;
    bool hasMarker = layout.hasMarker;

    if (check == TableCheck::InterruptedAppend) {
        // The tail is a record whose count never came: it goes, and the table is closed as
        // a sound one before the append begins.
        if (!table->truncate(recordsEnd) || !table->writeAt(recordsEnd, &kEndOfFileMarker, 1))
            return ResultCode::TableUnusable;
        hasMarker = true;
    }

    Record lastRecord{};
    if (!table->readAt(recordsEnd - kRecordSize, lastRecord.data(), lastRecord.size()))
        return ResultCode::TableUnusable;
    spec.recordNumber = static_cast<std::int32_t>(count + 1);
    Record record = composeRecord(lastRecord, spec);

    // The record goes in before the count, so an interrupted append leaves a table
    // that still reads.
    std::array<std::uint8_t, kRecordSize + 1> tail{};
    std::copy(record.begin(), record.end(), tail.begin());
    tail[kRecordSize] = kEndOfFileMarker;
    const std::size_t tailSize = hasMarker ? kRecordSize + 1 : kRecordSize;
    if (!table->writeAt(recordsEnd, tail.data(), tailSize) || !table->flush()) {
        rollBack(*table, recordsEnd, hasMarker, count, false);
        return ResultCode::TableUnusable;
    }
    const auto newCount = littleendian::uint32Bytes(count + 1);
    if (!table->writeAt(kRecordCountOffset, newCount.data(), newCount.size()) || !table->flush()) {
        rollBack(*table, recordsEnd, hasMarker, count, true);
        return ResultCode::TableUnusable;
    }
    return ResultCode::Appended;
}

bool TeamGearFile::installJersey(std::string& tablePath, JerseySpec spec, bool reportErrors)
{
    if (reportErrors) {
        if (appendJersey(tablePath, spec, true) != ResultCode::Appended)
            return false;
        showSuccess(messages_, "Jersey Installed Succesfully!");
        return true;
    }

    bool anyAppended = false;
    std::optional<ResultCode> firstFailure;
    for (int folder = 0; folder <= kHighestSaveFolder; ++folder) {
        tablePath = numberedSaveTablePath(gameFolder_, folder);
        ResultCode result = appendJersey(tablePath, spec, false);
        if (result == ResultCode::NoTable) {
            if (folder == 0) {
                showError(messages_, "Invalid Save Slot");
                return false;
            }
            break;
        }
        if (result == ResultCode::Appended)
            anyAppended = true;
        else if (!firstFailure)
            firstFailure = result;
    }
    if (anyAppended)
        showSuccess(messages_, "Jersey Installed Succesfully");
    else
        showError(messages_, messageFor(*firstFailure));
    return anyAppended;
}

}  // namespace kitloom
