#include "jobs/SaveJobs.h"

#include "jobs/JerseyForm.h"

#include <algorithm>

namespace kitloom {

namespace {

SaveTarget targetOf(const std::string& gameFolder, const std::string& saveSlot)
{
    return saveSlot.empty() ? SaveTarget::everyNumberedSave(gameFolder) : SaveTarget::namedSave(gameFolder, saveSlot);
}

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

}  // namespace

RemoveProblem removeRequestProblem(const RemoveRequest& request)
{
    if (!jerseyNameFits(request.jerseyName))
        return RemoveProblem::JerseyName;
    if (!yearFits(request.year))
        return RemoveProblem::Year;
    if (request.teamNumber && !teamNumberFits(*request.teamNumber))
        return RemoveProblem::TeamNumber;
    return RemoveProblem::None;
}

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
    result.game = decideGame(fileSystem, request.game);
    if (!gameDecided(result.game))
        return result;
    result.job = TableJobs(fileSystem, request.options)
                     .removeJerseys(targetOf(result.game.folder, request.saveSlot), matchOf(request));
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
    if (result.job.outcome == JobOutcome::Stopped)
        result.status = JobStatus::Stopped;
    else
        result.status = result.removed > 0 && result.unsearched == 0 && !result.anyStays ? JobStatus::Succeeded
                                                                                         : JobStatus::Failed;
    return result;
}

ListResult listTables(FileSystem& fileSystem, const ListRequest& request)
{
    ListResult result;
    SaveTarget target = SaveTarget::oneTable(request.tablePath);
    if (request.tablePath.empty()) {
        result.game = decideGame(fileSystem, request.game);
        if (!gameDecided(result.game))
            return result;
        target = targetOf(result.game.folder, request.saveSlot);
    }
    result.oneTable = target.named();
    result.job = TableJobs(fileSystem, {false, request.progress}).readTables(target);
    result.status = result.job.anyTableFailed() ? JobStatus::Failed : JobStatus::Succeeded;
    return result;
}

}  // namespace kitloom
