#pragma once

#include "core/TeamGearLayout.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace kitloom {

class FileSystem;
class OpenFile;

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

using TeamGearRecord = std::array<std::uint8_t, teamgear::kRecordSize>;

// Hands every record of the table at `path` to `visit`, in order, after the same check
// as readTableLayout (an interrupted append's tail is passed over and the result is
// Sound). A read that fails part way ends it with Unreadable.
TableCheck forEachTeamGearRecord(FileSystem& fileSystem, const std::string& path,
                                 const std::function<void(const TeamGearRecord&)>& visit);

}  // namespace kitloom
