#include "core/GamePaths.h"

#include "core/Digits.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace kitloom {

namespace {

std::string savesFolder(const std::string& gameFolder) { return gameFolder + "saves" + kPathSeparator; }

std::string usualArtFolder([[maybe_unused]] const std::string& gameFolder)
{
#ifdef _WIN32
    return kFixedArtFolder;
#else
    return gameFolder + "render" + kPathSeparator + "xteam";
#endif
}

}  // namespace

std::string numberedSaveName(int number)
{
    std::string name = std::to_string(number);
    if (name.size() < 3)
        name.insert(0, 3 - name.size(), '0');
    return name;
}

std::string namedSaveTablePath(const std::string& gameFolder, const std::string& saveFolder)
{
    return savesFolder(gameFolder) + saveFolder + kPathSeparator + "teamgear.dbf";
}

std::string numberedSaveTablePath(const std::string& gameFolder, int number)
{
    return namedSaveTablePath(gameFolder, numberedSaveName(number));
}

std::string numberedSaveFolderPath(const std::string& gameFolder, int number)
{
    return savesFolder(gameFolder) + numberedSaveName(number);
}

std::optional<std::string> numberedSaveNameFor(const std::string& saveFolder)
{
    if (saveFolder.empty() || saveFolder.size() >= 3 || !isDigits(saveFolder))
        return std::nullopt;
    return std::string(3 - saveFolder.size(), '0') + saveFolder;
}

std::string gameFolderName(FileSystem& fileSystem, const std::string& folder, const std::string& name)
{
    // The exact name first: a lower-case tree costs one look-up, and no listing.
    if (kSystemMatchesAnyCase || fileSystem.exists(folder + name))
        return name;
    return fileSystem.folderNamed(folder, name).value_or(name);
}

std::string gameFileName(FileSystem& fileSystem, const std::string& folder, const std::string& name)
{
    if (kSystemMatchesAnyCase || fileSystem.exists(folder + name))
        return name;
    return fileSystem.fileNamed(folder, name).value_or(name);
}

std::string savesFolderIn(FileSystem& fileSystem, const std::string& gameFolder)
{
    return gameFolder + gameFolderName(fileSystem, gameFolder, "saves") + kPathSeparator;
}

std::string saveTableIn(FileSystem& fileSystem, const std::string& savesFolder, const std::string& saveFolder)
{
    const std::string folder = savesFolder + gameFolderName(fileSystem, savesFolder, saveFolder) + kPathSeparator;
    return folder + gameFileName(fileSystem, folder, "teamgear.dbf");
}

bool holdsSaves(FileSystem& fileSystem, const std::string& gameFolder)
{
    return fileSystem.exists(gameFolder + "saves") || fileSystem.folderNamed(gameFolder, "saves");
}

std::string artFolderOf(FileSystem& fileSystem, const std::string& gameFolder)
{
    if (kSystemMatchesAnyCase)
        return usualArtFolder(gameFolder);
    return artFolderBesideSaves(fileSystem, gameFolder).value_or(usualArtFolder(gameFolder));
}

std::optional<std::string> artFolderBesideSaves(FileSystem& fileSystem, const std::string& gameFolder)
{
    const auto render = fileSystem.folderNamed(gameFolder, "render");
    if (!render)
        return std::nullopt;
    const std::string folder = gameFolder + *render + kPathSeparator;
    return folder + gameFolderName(fileSystem, folder, "xteam");
}

}  // namespace kitloom
