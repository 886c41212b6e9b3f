#include "core/SaveTarget.h"

#include "core/GamePaths.h"
#include "platform/FileSystem.h"

namespace kitloom {

SaveTarget SaveTarget::namedSave(const std::string& gameFolder, const std::string& saveFolder)
{
    SaveTarget target = oneTable(namedSaveTablePath(gameFolder, saveFolder));
    target.gameFolder_ = gameFolder;
    return target;
}

SaveTarget SaveTarget::oneTable(const std::string& tablePath)
{
    SaveTarget target;
    target.tablePath_ = tablePath;
    return target;
}

SaveTarget SaveTarget::everyNumberedSave(const std::string& gameFolder)
{
    SaveTarget target;
    target.gameFolder_ = gameFolder;
    return target;
}

const TableReport* JobReport::firstFailure() const
{
    for (const TableReport& table : tables) {
        if (!tableSucceeded(table.result))
            return &table;
    }
    return nullptr;
}

namespace {

// The numbered save folders after `missing` that hold a table, which the sweep never reached.
std::vector<std::string> savesPast(FileSystem& fileSystem, const std::string& gameFolder, int missing)
{
    std::vector<std::string> folders;
    for (int number = missing + 1; number <= kHighestSaveFolder; ++number) {
        if (fileSystem.exists(numberedSaveTablePath(gameFolder, number)))
            folders.push_back(numberedSaveFolderPath(gameFolder, number));
    }
    return folders;
}

}  // namespace

JobReport sweepSaves(FileSystem& fileSystem, const SaveTarget& target, const SweepRules& rules,
                     const std::function<TableReport(const std::string&)>& visit, const TableProgress& progress)
{
    JobReport job;
    job.namedSave = target.named();
    bool anyDone = false;
    // True to go on with the next table.
    auto record = [&](TableReport table) {
        anyDone = anyDone || table.result == rules.success;
        job.tables.push_back(std::move(table));
        if (progress && !progress(job.tables.back())) {
            job.outcome = JobOutcome::Stopped;
            return false;
        }
        return true;
    };

    if (target.named()) {
        if (record(visit(target.tablePath())))
            job.outcome = anyDone ? JobOutcome::Done : JobOutcome::NothingDone;
        return job;
    }
    for (int number = 0; number <= kHighestSaveFolder; ++number) {
        TableReport table = visit(numberedSaveTablePath(target.gameFolder(), number));
        const bool reportMissing = number == 0 && rules.missingFirstSave == MissingFirstSave::IsReported;
        if (table.result == ResultCode::NoTable && !reportMissing) {
            job.firstMissing = numberedSaveFolderPath(target.gameFolder(), number);
            job.unvisited = savesPast(fileSystem, target.gameFolder(), number);
            if (number == 0) {
                job.outcome = JobOutcome::NoSaves;
                return job;
            }
            break;
        }
        if (!record(std::move(table)))
            return job;
    }
    job.outcome = anyDone ? JobOutcome::Done : JobOutcome::NothingDone;
    return job;
}

}  // namespace kitloom
