#pragma once

#include "core/SaveSweep.h"
#include "jobs/GameDecision.h"
#include "jobs/JobStatus.h"

#include <optional>
#include <string>

namespace kitloom {

class FileSystem;

// list: the records of one table, of one save's, or of every numbered save's.
struct ListRequest {
    std::string tablePath;  // a table named by its path: then no game is needed
    std::string saveSlot;
    GamePolicy game;
    const JobHooks* hooks = nullptr;  // never null
    JobObserver* observer = nullptr;  // told of every table as it is read
};

struct ListResult {
    GameChoice game;
    bool gameDecided = false;  // always, for a table named by its path
    bool oneTable = false;     // a path or a slot named one table
    SweepReport job;
    // One table was asked for and could not be read, named like a numbered save written short.
    std::optional<std::string> slotWrittenShort;
    JobStatus status = JobStatus::Failed;
};

ListResult listTables(FileSystem& fileSystem, const ListRequest& request);

}  // namespace kitloom
