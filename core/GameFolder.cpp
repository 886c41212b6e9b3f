#include "core/GameFolder.h"

#include "core/GamePaths.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace kitloom {

GameChoice chooseGame(FileSystem& fileSystem, const GameRequest& request, GameSearch& search)
{
    if (request.given) {
        const std::string given = withClosingSeparator(*request.given);
        if (holdsSaves(fileSystem, given) || !fileSystem.exists(given))
            return {GameSource::Given, given};
        GameSearch below = searchGamesBelow(fileSystem, given);
        if (below.games.empty())
            return {GameSource::Given, given};
        search = std::move(below);
        if (search.decidingCount > 1)
            return {GameSource::Several, ""};
        return {GameSource::FoundInGiven, search.games.front().folder};
    }
    if (request.patchFolder && holdsSaves(fileSystem, *request.patchFolder))
        return {GameSource::PatchFolder, *request.patchFolder};
    search = searchGames(fileSystem, request.places, false);
    GameChoice choice{GameSource::NotFound, ""};
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
