#include "jobs/WhereJob.h"

#include "core/GamePaths.h"
#include "jobs/SearchedGame.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace kitloom {

namespace {

void use(FileSystem& fileSystem, const std::string& folder, WhereResult& result)
{
    if (!result.places.rememberedFile) {
        result.noPlace = true;
        result.remembered = holdsSaves(fileSystem, folder) ? RememberResult::CannotWrite : RememberResult::NoSaves;
        return;
    }
    result.remembered = rememberGame(fileSystem, *result.places.rememberedFile, folder, result.reason);
    if (result.remembered == RememberResult::Remembered) {
        result.folder = fileSystem.fullPath(folder);
        result.status = JobStatus::Succeeded;
    }
}

void forget(FileSystem& fileSystem, WhereResult& result)
{
    result.status = JobStatus::Succeeded;
    if (!result.places.rememberedFile) {
        result.noPlace = true;
        return;
    }
    const std::string& file = *result.places.rememberedFile;
    if (readRememberedGame(fileSystem, file, result.folder) == RememberedRead::NothingRemembered)
        return;
    result.forgotten = forgetGame(fileSystem, file, result.reason);
    if (result.forgotten == ForgetResult::CannotRemove)
        result.status = JobStatus::Failed;
}

}  // namespace

WhereResult whereIsTheGame(FileSystem& fileSystem, const WhereRequest& request)
{
    WhereResult result;
    result.places = searchPlaces();
    switch (request.ask) {
    case WhereAsk::Use:
        use(fileSystem, request.folder, result);
        break;
    case WhereAsk::Forget:
        forget(fileSystem, result);
        break;
    case WhereAsk::Search:
        result.search = searchGames(fileSystem, result.places, true);
        // Several that leave the next job without a game fail as none does.
        result.status = result.search.decidingCount == 1 ? JobStatus::Succeeded : JobStatus::Failed;
        break;
    }
    return result;
}

}  // namespace kitloom
