#pragma once

#include "core/TeamGearRecord.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

enum class RemoveResult {
    Removed,        // at least one record went
    NotFound,       // no record matches
    NotAtEnd,       // records match, but none could go: see matchesLeft
    NoTable,
    TableDamaged,   // as for appending, and a table without records
    TableUnusable,  // found, but it could not be opened, read or written
};

struct RemoveReport {
    std::string tablePath;
    RemoveResult result = RemoveResult::NoTable;
    std::uint32_t removed = 0;
    // Positions (1 for the first record) of the matching records that stay.
    std::vector<std::uint32_t> matchesLeft;
    std::uint32_t countAfter = 0;
    std::string reason;  // the system's words for why the table could not be used, if it gave any
};

// Takes installed jerseys back out of team-gear tables.
class TeamGearRemover {
public:
    // A dry run changes nothing, yet reports what a real run would.
    explicit TeamGearRemover(FileSystem& fileSystem, bool dryRun = false) : fileSystem_(fileSystem), dryRun_(dryRun) {}

    // Removes the last record while it matches, one at a time, under the writers' lock.
    // Only the end of the table goes, where the latest installs are: a record behind the
    // others would shift every later one. A table keeps at least one record.
    RemoveReport removeJerseys(const std::string& tablePath, const JerseyMatch& match);

private:
    FileSystem& fileSystem_;
    bool dryRun_;
};

}  // namespace kitloom
