#include "core/GamePaths.h"

#include "platform/Paths.h"

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

}  // namespace kitloom
