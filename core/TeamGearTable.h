#pragma once

#include "core/TeamGearLayout.h"
#include "platform/FileSystem.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kitloom {

// InterruptedAppend: the records the count names, then 1 to 30 bytes that are not just
// the marker, as an append stopped between its record and its count leaves them. It
// reads like a sound table; the next append cuts the tail off.
enum class TableCheck { Sound, InterruptedAppend, Missing, Damaged, Unreadable };

struct TableLayout {
    std::uint64_t size = 0;
    std::uint32_t count = 0;  // 0 unless it could be read
    std::uint64_t recordsEnd = 0;
    bool hasMarker = false;
};

// Reads the record count of an open table and checks it against the file's size: the
// records must fill the file exactly, save for one optional end-of-file marker or the
// tail of an interrupted append (`recordsEnd` is where either begins).
TableCheck readTableLayout(OpenFile& table, TableLayout& layout);

// A table opened by a writer: held under the writers' lock (none in a dry run, which
// writes nothing), its layout read and checked.
struct TableForChange {
    std::unique_ptr<OpenFile> file;
    TableLayout layout;
    std::string reason;  // the system's words for the call that failed, if it gave any
};

// Missing; Unreadable when it could not be opened, locked or read; Damaged, and so is a
// table without records; else Sound or InterruptedAppend. The layout is read only once
// the lock is held: another writer in between would make it stale.
TableCheck openTableForChange(FileSystem& fileSystem, const std::string& path, bool dryRun, TableForChange& table);

// Cuts an interrupted append's tail back and closes the table with the marker, leaving
// it sound; a dry run only updates the layout as the cut would. False when a call fails.
bool cutInterruptedTail(TableForChange& table, bool dryRun);

// Writes the record count, little-endian, in place.
bool writeRecordCount(OpenFile& table, std::uint32_t count);

using TeamGearRecord = std::array<std::uint8_t, teamgear::kRecordSize>;

// Hands every record of the table at `path` to `visit`, in order, after the same check
// as readTableLayout (an interrupted append's tail is passed over and the result is
// Sound). A read that fails part way ends it with Unreadable.
TableCheck forEachTeamGearRecord(FileSystem& fileSystem, const std::string& path,
                                 const std::function<void(const TeamGearRecord&)>& visit);

}  // namespace kitloom
