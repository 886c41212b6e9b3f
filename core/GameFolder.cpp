#include "core/GameFolder.h"

#include "core/GamePaths.h"
#include "platform/Paths.h"

namespace kitloom {

GameChoice chooseGame(FileSystem& fileSystem, const std::optional<std::string>& given,
                      const std::optional<std::string>& patchFolder, const WinePlaces& places)
{
    if (given)
        return {GameSource::Given, withClosingSeparator(*given), {}};
    if (patchFolder && holdsSaves(fileSystem, *patchFolder))
        return {GameSource::PatchFolder, *patchFolder, {}};
    if (kSystemMatchesAnyCase || holdsSaves(fileSystem, ""))
        return {GameSource::CurrentFolder, "", {}};
    GameChoice choice{GameSource::NotFound, "", findWineGames(fileSystem, places)};
    if (choice.wine.outcome == WineSearchOutcome::Found) {
        choice.source = GameSource::Wine;
        choice.folder = choice.wine.games.front();
    }
    return choice;
}

}  // namespace kitloom
