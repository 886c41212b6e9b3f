#pragma once

#include "core/TableJobs.h"
#include "jobs/GamePolicy.h"
#include "jobs/JobStatus.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

// remove: the jersey named by its texts as a table holds them, and the saves it is taken from.
struct RemoveRequest {
    std::string jerseyName;
    std::string year;
    std::optional<std::string> teamNumber;  // only a jersey of this Team Number
    std::optional<int> jerseyType;          // only a jersey of this Jersey Type row
    std::string saveSlot;                   // one save folder; empty for every numbered save
    GamePolicy game;
    JobOptions options;
};

// The first text of a remove request that does not fit its field, or none.
enum class RemoveProblem { None, JerseyName, Year, TeamNumber };
RemoveProblem removeRequestProblem(const RemoveRequest& request);

// What a table's removal says beyond its counts.
struct TableRemoval {
    bool searched = false;  // its records were looked at, whatever was removed
    // A table never goes without a record: a matching only record stays.
    bool onlyRecordStays = false;
    // Only the latest installs come out: the positions of matching records behind others.
    std::vector<std::uint32_t> behindOthers;
};
TableRemoval removalOf(const TableReport& table);

struct RemoveResult {
    GameChoice game;
    JobReport job;               // when the game was decided
    std::uint32_t removed = 0;   // jerseys that went (in a dry run: would go)
    int savesChanged = 0;        // the tables they went from
    std::size_t unsearched = 0;  // tables that could not be searched
    bool anyMatch = false;       // a matching jersey was found, removed or not
    bool anyStays = false;       // a matching jersey stays in a table that was searched
    JobStatus status = JobStatus::Failed;
};

RemoveResult removeJerseys(FileSystem& fileSystem, const RemoveRequest& request);

// list: the records of one table, of one save's, or of every numbered save's.
struct ListRequest {
    std::string tablePath;  // a table named by its path: then no game is needed
    std::string saveSlot;
    GamePolicy game;
    TableProgress progress;  // told of every table as it is read
};

struct ListResult {
    GameChoice game;
    bool oneTable = false;  // a path or a slot named one table
    JobReport job;
    JobStatus status = JobStatus::Failed;
};

ListResult listTables(FileSystem& fileSystem, const ListRequest& request);

}  // namespace kitloom
