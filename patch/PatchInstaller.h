#pragma once

#include "platform/FileSystem.h"

#include <functional>
#include <optional>
#include <string>

namespace kitloom {

class Messages;
class TableObserver;

// One of the patch's images on its way into the art folder; in a dry run, `result` is
// what the move would give.
struct ImageMove {
    std::string from;
    std::string to;
    MoveResult result = MoveResult::Failed;
};

struct PatchInstallOptions {
    // The folder holding `saves` (a path prefix, or empty for the current folder); the
    // patch's own folder when not given. The images always come from the patch's folder.
    std::optional<std::string> gameFolder;
    // Nothing is moved, created or written; the messages are those of a real run.
    bool dryRun = false;
    TableObserver* observer = nullptr;                // told about every table tried
    std::function<void(const ImageMove&)> imageMove;  // told about every image moved or, in a dry run, to be moved
};

// Installs the patch at `patchPath`: moves its two images from the patch's folder into
// `artFolder` (creating the folder's last level when missing) and puts the jersey into
// the saves, telling the user each outcome. Nothing is touched unless the whole patch
// could be read and holds only plain names. True when at least one team-gear table got
// the jersey (or would have, in a dry run).
bool installPatch(const std::string& patchPath, const std::string& artFolder, FileSystem& fileSystem,
                  Messages& messages, const PatchInstallOptions& options = {});

}  // namespace kitloom
