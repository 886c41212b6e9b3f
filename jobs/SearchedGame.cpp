#include "jobs/SearchedGame.h"

#include "core/RememberedGame.h"
#include "platform/Environment.h"
#include "platform/Paths.h"

namespace kitloom {

SearchPlaces searchPlaces()
{
    SearchPlaces places;
#ifdef _WIN32
    places.rememberedFile = rememberedGameFile(std::nullopt, std::nullopt, environmentValue("APPDATA"));
    places.programFolder = programFolder();
    // A 32-bit program on 64-bit Windows sees ProgramFiles as the (x86) folder; ProgramW6432
    // names the other. 32-bit Windows sets ProgramFiles alone.
    for (const char* name : {"ProgramFiles", "ProgramW6432", "ProgramFiles(x86)"}) {
        if (const auto folder = environmentValue(name); folder && !folder->empty())
            places.programFiles.push_back(*folder);
    }
#else
    places.winePrefix = environmentValue("WINEPREFIX");
    places.home = environmentValue("HOME");
    places.dataHome = environmentValue("XDG_DATA_HOME");
    places.configHome = environmentValue("XDG_CONFIG_HOME");
    places.rememberedFile = rememberedGameFile(places.configHome, places.home, std::nullopt);
#endif
    return places;
}

GameChoice searchedGame(FileSystem& fileSystem, const GameHints& hints, GameSearch& search)
{
    return chooseGame(fileSystem,
                      {hints.given ? std::optional(*hints.given) : std::nullopt,
                       hints.patchFolder ? std::optional(*hints.patchFolder) : std::nullopt, searchPlaces()},
                      search);
}

RememberResult keepChosenGame(FileSystem& fileSystem, const std::string& gameFolder, std::string& reason)
{
    const auto file = searchPlaces().rememberedFile;
    if (!file)
        return RememberResult::CannotWrite;
    return rememberGame(fileSystem, *file, gameFolder, reason);
}

}  // namespace kitloom
