#include "jobs/journal/CopySpace.h"

#include "jobs/journal/JournalFile.h"
#include "platform/Paths.h"

#include <cstdlib>
#include <map>
#include <memory>

namespace kitloom {

namespace {

std::uint64_t sizeOf(FileSystem& fileSystem, const std::string& path)
{
    std::uint64_t size = 0;
    const std::unique_ptr<OpenFile> file = fileSystem.openForReading(path).file;
    return file && file->size(size) ? size : 0;
}

}  // namespace

int letOldCopiesGo(FileSystem& fileSystem, const std::string& journalFolder, const ReadJournal& journal,
                   std::int64_t now, const CopyLimits& limits)
{
    const std::string copies = journalFolder + kCopiesFolderName + kPathSeparator;
    const auto names = fileSystem.fileNames(copies);
    if (!names)
        return 0;
    // Each job's copies, the newest job first.
    std::map<int, std::vector<std::string>, std::greater<>> byJob;
    for (const std::string& name : *names) {
        const int id = std::atoi(name.c_str());
        if (id > 0)
            byJob[id].push_back(name);
    }
    std::map<int, std::int64_t> startedAt;
    for (const RecordedJob& job : journal.jobs)
        startedAt[job.id] = job.startedAt;

    int jobsKept = 0;
    std::uint64_t bytesKept = 0;
    int gone = 0;
    for (const auto& [id, files] : byJob) {
        std::uint64_t bytes = 0;
        for (const std::string& name : files)
            bytes += sizeOf(fileSystem, copies + name);
        const auto started = startedAt.find(id);
        // A job the journal does not name (its start line damaged) keeps its copies while it
        // is among the newest: its age is not known.
        const bool tooOld = started != startedAt.end() && now - started->second > limits.maxAgeSeconds;
        if (jobsKept < limits.newestJobs && !tooOld && bytesKept + bytes <= limits.maxBytes) {
            ++jobsKept;
            bytesKept += bytes;
            continue;
        }
        for (const std::string& name : files)
            gone += fileSystem.removeFile(copies + name) ? 1 : 0;
    }
    return gone;
}

bool copiesKept(FileSystem& fileSystem, const std::string& journalFolder, const RecordedJob& job)
{
    const std::string copies = journalFolder + kCopiesFolderName + kPathSeparator;
    for (const RecordedTable& table : job.tables) {
        if (!table.copy.empty() && fileSystem.kindOf(copies + table.copy) != EntryKind::RegularFile)
            return false;
    }
    for (const RecordedImage& image : job.images) {
        if (!image.replacedKeptAs.empty() && fileSystem.kindOf(image.replacedKeptAs) != EntryKind::RegularFile)
            return false;
    }
    return true;
}

}  // namespace kitloom
