#pragma once

#include "jobs/journal/JournalLines.h"

#include <cstdint>
#include <string>

namespace kitloom {

class FileSystem;

// How much the journal keeps of the tables and images its jobs changed. Its own lines stay.
struct CopyLimits {
    int newestJobs = 100;
    std::int64_t maxAgeSeconds = 90LL * 24 * 60 * 60;
    std::uint64_t maxBytes = 256ULL * 1024 * 1024;
};

// Lets the oldest jobs' copies go until what is kept fits `limits`: the newest jobs keep
// theirs. Such a job can only be undone record by record afterwards. Returns the copies that
// went.
int letOldCopiesGo(FileSystem& fileSystem, const std::string& journalFolder, const ReadJournal& journal,
                   std::int64_t now, const CopyLimits& limits = {});

// True when every copy the job kept is still there.
bool copiesKept(FileSystem& fileSystem, const std::string& journalFolder, const RecordedJob& job);

}  // namespace kitloom
