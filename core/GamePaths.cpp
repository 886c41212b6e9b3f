#include "core/GamePaths.h"

#include "core/Digits.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace kitloom {

namespace {

// saves/007: numbered save folders are named with three digits.
constexpr std::size_t kSaveNameDigits = 3;

std::string savesFolder(const std::string& gameFolder) { return gameFolder + "saves" + kPathSeparator; }

}  // namespace

std::string numberedSaveName(int number) { return zeroPadded(std::to_string(number), kSaveNameDigits); }

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
    if (!isNumeral(saveFolder) || saveFolder.size() >= kSaveNameDigits)
        return std::nullopt;
    return zeroPadded(saveFolder, kSaveNameDigits);
}

std::string defaultArtFolder([[maybe_unused]] const std::string& gameFolder)
{
#ifdef _WIN32
    return kGameArtFolder;
#else
    return gameFolder + "render" + kPathSeparator + "xteam";
#endif
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

std::string gameArtFolder(FileSystem& fileSystem, const std::string& gameFolder)
{
    if (kSystemMatchesAnyCase)
        return defaultArtFolder(gameFolder);
    return renderArtFolder(fileSystem, gameFolder).value_or(defaultArtFolder(gameFolder));
}

std::optional<std::string> renderArtFolder(FileSystem& fileSystem, const std::string& gameFolder)
{
    const auto render = fileSystem.folderNamed(gameFolder, "render");
    if (!render)
        return std::nullopt;
    const std::string folder = gameFolder + *render + kPathSeparator;
    return folder + gameFolderName(fileSystem, folder, "xteam");
}

}  // namespace kitloom
