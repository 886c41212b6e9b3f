#include "core/GamePaths.h"

#include "platform/FileSystem.h"


namespace kitloom {

std::string namedSaveTablePath(const std::string& gameFolder, const std::string& saveFolder)
{
    return gameFolder + "saves" + kPathSeparator + saveFolder + kPathSeparator + "teamgear.dbf";
}

std::string numberedSaveTablePath(const std::string& gameFolder, int number)
{
    std::string name = std::to_string(number);
    if (name.size() < 3)
        name.insert(0, 3 - name.size(), '0');
    return namedSaveTablePath(gameFolder, name);
}

std::string withClosingSeparator(const std::string& folder)
{
    if (folder.empty() || folder.back() == kPathSeparator || folder.back() == '/')
        return folder;
    return folder + kPathSeparator;
}

std::string withoutClosingSeparator(const std::string& folder)
{
    if (folder.size() > 1 && (folder.back() == kPathSeparator || folder.back() == '/'))
        return folder.substr(0, folder.size() - 1);
    return folder;
}

}  // namespace kitloom
