#include "core/GameFolder.h"

#include "core/GamePaths.h"
#include "platform/Paths.h"

namespace kitloom {

GameChoice chooseGame(FileSystem& fileSystem, const GameRequest& request)
{
    if (request.given)
        return {GameSource::Given, withClosingSeparator(*request.given), {}};
    if (request.patchFolder && holdsSaves(fileSystem, *request.patchFolder))
        return {GameSource::PatchFolder, *request.patchFolder, {}};
    GameChoice choice{GameSource::NotFound, "", searchGames(fileSystem, request.places, false)};
    const GameSearch& search = choice.search;
    if (search.decidingCount > 1) {
        choice.source = GameSource::Several;
    } else if (search.decidingCount == 1) {
        const FoundGame& game = search.games.front();
        switch (game.place) {
        case GamePlace::CurrentFolder:
            choice.source = GameSource::CurrentFolder;  // and its paths stay relative
            return choice;
        case GamePlace::Remembered:
            choice.source = GameSource::Remembered;
            break;
        default:
            choice.source = GameSource::Found;
            break;
        }
        choice.folder = game.folder;
    }
    return choice;
}

}  // namespace kitloom
