#include "core/GamePaths.h"

#include "platform/FileSystem.h"

#include <cstdio>

namespace kitloom {

std::string namedSaveTablePath(const std::string& gameFolder, const std::string& saveFolder)
{
    return gameFolder + "saves" + kPathSeparator + saveFolder + kPathSeparator + "teamgear.dbf";
}

std::string numberedSaveTablePath(const std::string& gameFolder, int number)
{
    char name[16];
    std::snprintf(name, sizeof name, "%03d", number);
    return namedSaveTablePath(gameFolder, name);
}

std::string withClosingSeparator(const std::string& folder)
{
    if (folder.empty() || folder.back() == kPathSeparator || folder.back() == '/')
        return folder;
    return folder + kPathSeparator;
}

}  // namespace kitloom
