#include "jobs/RemoveJob.h"

#include "core/GamePaths.h"

#include <algorithm>

namespace kitloom {

namespace {

JerseyMatch matchOf(const RemoveRequest& request)
{
    JerseyMatch match;
    std::copy_n(request.jerseyName.begin(), match.jerseyName.size(), match.jerseyName.begin());
    std::copy_n(request.year.begin(), match.year.size(), match.year.begin());
    if (request.teamNumber)
        match.teamNumber = teamNumberValue(*request.teamNumber);
    match.jerseyType = request.jerseyType;
    return match;
}

std::optional<FormField> requestProblem(const RemoveRequest& request)
{
    if (!jerseyNameFits(request.jerseyName))
        return FormField::JerseyName;
    if (!yearFits(request.year))
        return FormField::Year;
    if (request.teamNumber && !teamNumberFits(*request.teamNumber))
        return FormField::TeamNumber;
    return std::nullopt;
}

}  // namespace

TableRemoval removalOf(const TableReport& table)
{
    TableRemoval removal;
    removal.searched = table.result == ResultCode::Removed || table.result == ResultCode::NoMatch ||
                       table.result == ResultCode::MatchNotAtEnd;
    if (!removal.searched)
        return removal;
    removal.behindOthers = table.matchesLeft;
    if (table.countAfter == 1 && !removal.behindOthers.empty() && removal.behindOthers.back() == 1) {
        removal.behindOthers.pop_back();
        removal.onlyRecordStays = true;
    }
    return removal;
}

RemoveResult removeJerseys(FileSystem& fileSystem, const RemoveRequest& request)
{
    RemoveResult result;
    result.refused = requestProblem(request);
    if (result.refused)
        return result;
    result.game = decideGame(fileSystem, *request.hooks, request.observer, request.game);
    if (!gameDecided(result.game))
        return result;
    result.job = SaveSweep(fileSystem, {request.dryRun, tablesToldTo(request.observer), request.witness})
                     .removeMatching(SaveTarget::ofSaveSlot(result.game.folder, request.saveSlot), matchOf(request));
    for (const TableReport& table : result.job.tables) {
        if (removalOf(table).searched) {
            result.removed += table.removed;
            result.savesChanged += table.removed > 0 ? 1 : 0;
            result.anyStays = result.anyStays || !table.matchesLeft.empty();
        } else {
            ++result.unsearched;
        }
        result.anyMatch = result.anyMatch || table.removed > 0 || !table.matchesLeft.empty();
    }
    const SweepReport& job = result.job;
    if (job.outcome == SweepOutcome::Stopped)
        result.status = JobStatus::Stopped;
    else
        result.status = result.removed > 0 && result.unsearched == 0 && !result.anyStays ? JobStatus::Succeeded
                                                                                         : JobStatus::Failed;
    if (job.namedSave && job.outcome != SweepOutcome::Stopped && job.tables.front().result == ResultCode::NoTable)
        result.slotWrittenShort = numberedSaveNameFor(request.saveSlot);
    return result;
}

}  // namespace kitloom
