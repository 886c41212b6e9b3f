#pragma once

#include <string>

namespace kitloom {

inline constexpr int kHighestSaveFolder = 999;

// Paths inside the game folder. `gameFolder` is empty for the current folder, or ends
// with a separator.
std::string namedSaveTablePath(const std::string& gameFolder, const std::string& saveFolder);
// The table of numbered save folder `number`, named with three digits: saves/007/teamgear.dbf.
std::string numberedSaveTablePath(const std::string& gameFolder, int number);

}  // namespace kitloom
