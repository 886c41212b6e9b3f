#include "core/GamePaths.h"

#include "core/Digits.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace kitloom {

namespace {

// saves/007: numbered save folders are named with three digits.
constexpr std::size_t kSaveNameDigits = 3;

// `folder`'s entry `name` as the system spells it: the exact name first, which costs one
// look-up and no listing on a lower-case tree, else one of any case; none without either.
std::optional<std::string> entryFound(FileSystem& fileSystem, const std::string& folder, const std::string& name,
                                      ListedEntries entries)
{
    if (fileSystem.exists(folder + name))
        return name;
    return entries == ListedEntries::Folders ? fileSystem.folderNamed(folder, name) : fileSystem.fileNamed(folder, name);
}

std::string usualArtFolder([[maybe_unused]] const std::string& gameFolder)
{
#ifdef _WIN32
    return kFixedArtFolder;
#else
    return folderIn(gameFolder, kRenderFolder) + kArtFolder;
#endif
}

}  // namespace

std::string numberedSaveName(int number) { return zeroPadded(std::to_string(number), kSaveNameDigits); }

std::string namedSaveTablePath(const std::string& gameFolder, const std::string& saveFolder)
{
    return folderIn(folderIn(gameFolder, kSavesFolder), saveFolder) + kTableFile;
}

std::string numberedSaveTablePath(const std::string& gameFolder, int number)
{
    return namedSaveTablePath(gameFolder, numberedSaveName(number));
}

std::optional<std::string> numberedSaveNameFor(const std::string& saveFolder)
{
    if (!isNumeral(saveFolder) || saveFolder.size() >= kSaveNameDigits)
        return std::nullopt;
    return zeroPadded(saveFolder, kSaveNameDigits);
}

std::string gameFolderName(FileSystem& fileSystem, const std::string& folder, const std::string& name)
{
    if (kSystemMatchesAnyCase)
        return name;
    return entryFound(fileSystem, folder, name, ListedEntries::Folders).value_or(name);
}

std::string gameFileName(FileSystem& fileSystem, const std::string& folder, const std::string& name)
{
    if (kSystemMatchesAnyCase)
        return name;
    return entryFound(fileSystem, folder, name, ListedEntries::Files).value_or(name);
}

std::string savesFolderIn(FileSystem& fileSystem, const std::string& gameFolder)
{
    return folderIn(gameFolder, gameFolderName(fileSystem, gameFolder, kSavesFolder));
}

std::string saveTableIn(FileSystem& fileSystem, const std::string& savesFolder, const std::string& saveFolder)
{
    const std::string folder = folderIn(savesFolder, gameFolderName(fileSystem, savesFolder, saveFolder));
    return folder + gameFileName(fileSystem, folder, kTableFile);
}

bool holdsSaves(FileSystem& fileSystem, const std::string& gameFolder)
{
    // As savesFolderIn finds it where the system matches names exactly.
    return entryFound(fileSystem, gameFolder, kSavesFolder, ListedEntries::Folders).has_value();
}

std::string artFolderOf(FileSystem& fileSystem, const std::string& gameFolder)
{
    if (kSystemMatchesAnyCase)
        return usualArtFolder(gameFolder);
    return artFolderBesideSaves(fileSystem, gameFolder).value_or(usualArtFolder(gameFolder));
}

std::optional<std::string> artFolderBesideSaves(FileSystem& fileSystem, const std::string& gameFolder)
{
    const auto render = fileSystem.folderNamed(gameFolder, kRenderFolder);
    if (!render)
        return std::nullopt;
    const std::string folder = folderIn(gameFolder, *render);
    return folder + gameFolderName(fileSystem, folder, kArtFolder);
}

}  // namespace kitloom
