#pragma once

#include "core/JerseySpec.h"
#include "core/SweepReport.h"
#include "core/TableWitness.h"
#include "core/TeamGearLayout.h"
#include "core/TeamGearRecord.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kitloom {

// InterruptedAppend: the records the count names, then 1 to 30 bytes that are not just
// the marker, as an append stopped between its record and its count leaves them. It
// reads like a sound table; the next change cuts the tail off.
enum class TableCheck { Sound, InterruptedAppend, Missing, Damaged, Unreadable };

struct TableLayout {
    std::uint64_t size = 0;
    std::uint32_t count = 0;  // 0 unless it could be read
    std::uint64_t recordsEnd = 0;
    bool hasMarker = false;
};

// Reads the record count of an open table and checks it against the file's size: the
// records must fill the file exactly, save for one optional end-of-file marker or the
// tail of an interrupted append (`recordsEnd` is where either begins). Unreadable leaves the
// system's words in `reason`.
TableCheck readTableLayout(OpenFile& table, TableLayout& layout, std::string& reason);

// How a table is opened. A writer holds the writers' lock from before the layout is read
// until the table is closed. A dry run opens for writing and takes the lock too, so that
// a table a real run could not write, or would wait for in vain, is reported as one; it
// writes nothing.
enum class TableAccess { Change, DryRun, Read };

// One team-gear table, open from construction to destruction: the only code that reads or
// writes one. Each operation returns the table's report, which it hands over: one
// operation per table. A table that is not changed is left byte for byte as it was.
class TeamGearTable {
public:
    // A witness, when given, sees the table before its first change and after the last.
    TeamGearTable(FileSystem& fileSystem, const std::string& path, TableAccess access, TableWitness* witness = nullptr);

    // Adds `spec` as a new last record: a copy of the last record with its fields written
    // over. Refused on a table of exactly 999 records.
    TableReport append(JerseySpec spec);
    // append(), unless a record holds every field of `spec` but the record number already:
    // then AlreadyThere, with the latest such record's number. A patch installed again (after
    // its images were fixed, say) puts no second copy into a save. Checked under the writers'
    // lock, so that two installs at once add the jersey once.
    TableReport appendUnlessThere(const JerseySpec& spec);
    // Removes the last record while it matches, one at a time. Only the end of the table
    // goes, where the latest installs are: a record behind the others would shift every
    // later one. A table keeps at least one record.
    TableReport removeLastWhile(const JerseyMatch& match);
    // Removes the last record when it is exactly `record`, as an undo takes back its own
    // append once later records came: Removed, or NoMatch when the last is another.
    TableReport removeLastIfExactly(const TeamGearRecord& record);
    // Every record, in order; an interrupted append's tail is passed over.
    TableReport readRecords();

private:
    // None when the table can be changed, after cutting an interrupted append's tail;
    // otherwise the result that says why not.
    std::optional<ResultCode> whyNotReadyForChange();
    bool cutInterruptedTail();
    // False when the witness refused the change about to be made; called before each write.
    bool aboutToChange();
    bool readRecord(std::uint32_t position, TeamGearRecord& record);
    // Hands the report over with its result.
    TableReport finish(ResultCode result);
    bool dryRun() const { return access_ == TableAccess::DryRun; }

    TableAccess access_;
    TableWitness* witness_;
    bool witnessed_ = false;
    std::unique_ptr<OpenFile> file_;
    TableCheck check_ = TableCheck::Missing;
    TableLayout layout_;
    TableReport report_;
};

}  // namespace kitloom
