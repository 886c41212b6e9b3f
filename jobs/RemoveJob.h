#pragma once

#include "core/SaveSweep.h"
#include "jobs/GameDecision.h"
#include "jobs/JerseyForm.h"
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
    bool dryRun = false;
    const JobHooks* hooks = nullptr;  // never null
    JobObserver* observer = nullptr;
    TableWitness* witness = nullptr;  // sees every table before and after it changes
};

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
    // The first text that does not fit its field (JerseyName, Year or TeamNumber): then
    // nothing else happened.
    std::optional<FormField> refused;
    GameChoice game;
    SweepReport job;             // when the game was decided
    std::uint32_t removed = 0;   // jerseys that went (in a dry run: would go)
    int savesChanged = 0;        // the tables they went from
    std::size_t unsearched = 0;  // tables that could not be searched
    bool anyMatch = false;       // a matching jersey was found, removed or not
    bool anyStays = false;       // a matching jersey stays in a table that was searched
    // A named save whose table was not found, named like a numbered save written short.
    std::optional<std::string> slotWrittenShort;
    JobStatus status = JobStatus::Failed;
};

RemoveResult removeJerseys(FileSystem& fileSystem, const RemoveRequest& request);

}  // namespace kitloom
