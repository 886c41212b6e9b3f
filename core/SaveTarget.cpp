#include "core/SaveTarget.h"

#include "core/GamePaths.h"
#include "platform/FileSystem.h"

namespace kitloom {

SaveTarget SaveTarget::namedSave(const std::string& gameFolder, const std::string& saveFolder)
{
    SaveTarget target = oneTable(namedSaveTablePath(gameFolder, saveFolder));
    target.gameFolder_ = gameFolder;
    target.saveFolder_ = saveFolder;
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

namespace {

// The numbered save folders after `missing` that hold a table, which the sweep never reached.
std::vector<std::string> savesPast(FileSystem& fileSystem, const std::string& savesFolder, int missing)
{
    std::vector<std::string> folders;
    for (int number = missing + 1; number <= kHighestSaveFolder; ++number) {
        // Digits have no case: a folder not there under its own name is not there at all, and
        // only one that is needs its table looked up in any case.
        const std::string folder = savesFolder + numberedSaveName(number);
        if (fileSystem.exists(folder) &&
            fileSystem.exists(saveTableIn(fileSystem, savesFolder, numberedSaveName(number))))
            folders.push_back(folder);
    }
    return folders;
}

}  // namespace

SweepReport sweepSaves(FileSystem& fileSystem, const SaveTarget& target, const SweepRules& rules,
                       const std::function<TableReport(const std::string&)>& visit, const TableProgress& progress)
{
    SweepReport job;
    job.namedSave = target.named();
    bool anyDone = false;
    // True to go on with the next table.
    auto record = [&](TableReport table) {
        anyDone = anyDone || table.result == rules.success;
        job.tables.push_back(std::move(table));
        if (progress && !progress(job.tables.back())) {
            job.outcome = SweepOutcome::Stopped;
            return false;
        }
        return true;
    };

    if (target.named()) {
        const auto& folder = target.saveFolder();
        if (record(visit(folder ? saveTableIn(fileSystem, savesFolderIn(fileSystem, target.gameFolder()), *folder)
                                : target.tablePath())))
            job.outcome = anyDone ? SweepOutcome::Done : SweepOutcome::NothingDone;
        return job;
    }
    // Found once: the sweep looks into each save folder only, never lists saves again.
    const std::string saves = savesFolderIn(fileSystem, target.gameFolder());
    for (int number = 0; number <= kHighestSaveFolder; ++number) {
        TableReport table = visit(saveTableIn(fileSystem, saves, numberedSaveName(number)));
        // Every numbered save's path is as long as this one: none can be reached.
        if (table.nameTooLong) {
            if (number == 0 && !record(std::move(table)))
                return job;
            break;
        }
        const bool reportMissing = number == 0 && rules.missingFirstSave == MissingFirstSave::IsReported;
        if (table.result == ResultCode::NoTable && !reportMissing) {
            job.firstMissing = saves + numberedSaveName(number);
            job.unvisited = savesPast(fileSystem, saves, number);
            if (number == 0) {
                job.outcome = SweepOutcome::NoSaves;
                return job;
            }
            break;
        }
        if (!record(std::move(table)))
            return job;
    }
    job.outcome = anyDone ? SweepOutcome::Done : SweepOutcome::NothingDone;
    return job;
}

}  // namespace kitloom
