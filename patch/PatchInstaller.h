#pragma once

#include <optional>
#include <string>

namespace kitloom {

class FileSystem;
class Messages;

// Installs the patch at `patchPath`: moves its two images into `artFolder` (creating the
// folder's last level when missing) and puts the jersey into the saves, telling the user
// each outcome. Images and `saves` are looked for in `gameFolder` (a path prefix ending in
// a separator, or empty for the current folder); by default the patch's own folder.
// Nothing is touched unless the whole patch could be read and holds only plain names.
// True when at least one team-gear table got the jersey.
bool installPatch(const std::string& patchPath, const std::string& artFolder, FileSystem& fileSystem,
                  Messages& messages, const std::optional<std::string>& gameFolder = std::nullopt);

}  // namespace kitloom
