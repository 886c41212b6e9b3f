#pragma once

#include "core/TeamGearLayout.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kitloom {

using TeamGearRecord = std::array<std::uint8_t, teamgear::kRecordSize>;

// What became of one table. The first three values are the appender's own result codes.
enum class ResultCode : int {
    Appended = 0,
    NoTable = 1,
    TableFull = 2,      // exactly 999 records
    TableDamaged = 3,   // record count and size disagree, or no record to copy or keep
    TableUnusable = 4,  // found, but it could not be opened, locked, read or written
    Removed = 5,        // at least one matching record went from the end
    NoMatch = 6,        // no record matches
    MatchNotAtEnd = 7,  // records match, but none could go: see matchesLeft
    Read = 8,           // every record was read
    AlreadyThere = 9,   // an append that may not repeat itself found the jersey: see recordNumber
};

// A table whose change went through, or whose records were read: the rest are failures.
inline bool tableSucceeded(ResultCode result)
{
    return result == ResultCode::Appended || result == ResultCode::Removed || result == ResultCode::NoMatch ||
           result == ResultCode::MatchNotAtEnd || result == ResultCode::Read || result == ResultCode::AlreadyThere;
}

struct TableReport {
    std::string tablePath;
    ResultCode result = ResultCode::NoTable;
    // Appended: the new record's number (a dry run's: what it would be); AlreadyThere: the
    // number of the record that holds the jersey.
    std::uint32_t recordNumber = 0;
    std::uint32_t removed = 0;     // records that went (or, in a dry run, would go)
    std::uint32_t countAfter = 0;  // remove: the records left
    // Positions (1 for the first record) of the matching records that stay.
    std::vector<std::uint32_t> matchesLeft;
    std::vector<TeamGearRecord> records;  // Read: every record, in order
    std::string reason;                   // the system's words for why the table could not be used, if it gave any
    // An append stopped before its count had left a record past it, which went first (or,
    // in a dry run, would go).
    bool unfinishedRecordCut = false;
    // The table's path is longer than the system takes (TableUnusable): so is every other
    // numbered save's.
    bool nameTooLong = false;
    // The change was refused before it began, since it could not be recorded: `reason` says why.
    bool unrecorded = false;
    bool operator==(const TableReport&) const = default;
};

// The table holds the jersey after an install: added, or there already.
inline bool gotTheJersey(const TableReport& table)
{
    return table.result == ResultCode::Appended || table.result == ResultCode::AlreadyThere;
}
// The table's records changed (a dry run's: would change).
inline bool tableChanged(const TableReport& table)
{
    return table.result == ResultCode::Appended || table.result == ResultCode::Removed;
}

// Told about every table a job visits, right after it; false stops the job there.
using TableProgress = std::function<bool(const TableReport&)>;

enum class SweepOutcome {
    Done,         // at least one table changed (for a read: every table was visited)
    NothingDone,  // tables were visited and none changed: the first failure tells why
    NoSaves,      // every numbered save was asked for, and save 000 has no table
    Stopped,      // the progress callback asked to stop
};

// What one job did to the saves.
struct SweepReport {
    bool namedSave = false;           // one table asked for, rather than every numbered save
    std::vector<TableReport> tables;  // every table visited, in order; a sweep's missing one is not among them
    SweepOutcome outcome = SweepOutcome::NothingDone;
    std::string firstMissing;            // a sweep: the save folder whose table's absence ended it
    std::vector<std::string> unvisited;  // numbered save folders past it that hold a table all the same

    // The first table that failed, if any; null otherwise.
    const TableReport* firstFailure() const
    {
        for (const TableReport& table : tables) {
            if (!tableSucceeded(table.result))
                return &table;
        }
        return nullptr;
    }
    bool anyTableFailed() const { return firstFailure() != nullptr; }
};

}  // namespace kitloom
