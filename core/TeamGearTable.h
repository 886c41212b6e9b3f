#pragma once

#include "core/TeamGearLayout.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace kitloom {

class FileSystem;
class OpenFile;

enum class TableCheck { Sound, Missing, Damaged, Unreadable };

struct TableLayout {
    std::uint64_t size = 0;
    std::uint32_t count = 0;  // 0 unless it could be read
    std::uint64_t recordsEnd = 0;
    bool hasMarker = false;
};

// Reads the record count of an open table and checks it against the file's size: the
// records must fill the file exactly, save for one optional end-of-file marker.
TableCheck readTableLayout(OpenFile& table, TableLayout& layout);

using TeamGearRecord = std::array<std::uint8_t, teamgear::kRecordSize>;

// Hands every record of the table at `path` to `visit`, in order, after the same check
// as readTableLayout. A read that fails part way ends it with Unreadable.
TableCheck forEachTeamGearRecord(FileSystem& fileSystem, const std::string& path,
                                 const std::function<void(const TeamGearRecord&)>& visit);

}  // namespace kitloom
