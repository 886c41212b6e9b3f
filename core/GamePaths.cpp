#include "core/GamePaths.h"

#include "platform/Paths.h"

namespace kitloom {

namespace {

std::string savesFolder(const std::string& gameFolder) { return gameFolder + "saves" + kPathSeparator; }

// Three digits with leading zeros: 007.
std::string numberedSaveName(int number)
{
    std::string name = std::to_string(number);
    if (name.size() < 3)
        name.insert(0, 3 - name.size(), '0');
    return name;
}

}  // namespace

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
    const bool digits = saveFolder.find_first_not_of("0123456789") == std::string::npos;
    if (saveFolder.empty() || saveFolder.size() >= 3 || !digits)
        return std::nullopt;
    return std::string(3 - saveFolder.size(), '0') + saveFolder;
}

std::string defaultArtFolder([[maybe_unused]] const std::string& gameFolder)
{
#ifdef _WIN32
    return kGameArtFolder;
#else
    return gameFolder + "render" + kPathSeparator + "xteam";
#endif
}

}  // namespace kitloom
