#include "jobs/ListJob.h"

#include "core/GamePaths.h"

namespace kitloom {

ListResult listTables(FileSystem& fileSystem, const ListRequest& request)
{
    ListResult result;
    SaveTarget target = SaveTarget::oneTable(request.tablePath);
    if (request.tablePath.empty()) {
        result.game = decideGame(fileSystem, *request.hooks, request.observer, request.game);
        if (!gameDecided(result.game))
            return result;
        target = SaveTarget::ofSaveSlot(result.game.folder, request.saveSlot);
    }
    result.gameDecided = true;
    result.oneTable = target.named();
    result.job = SaveSweep(fileSystem, {false, tablesToldTo(request.observer)}).readAll(target);
    result.status = result.job.anyTableFailed() ? JobStatus::Failed : JobStatus::Succeeded;
    if (result.oneTable && result.status == JobStatus::Failed)
        result.slotWrittenShort = numberedSaveNameFor(request.saveSlot);
    return result;
}

}  // namespace kitloom
