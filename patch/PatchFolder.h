#pragma once

#include "patch/Download.h"

#include <string>

namespace kitloom {

class FileSystem;

// Patches are looked for this many levels below the folder given, and no deeper.
inline constexpr int kMaxFolderDepth = 4;

// Every .jer in `folder` and its folders, links never followed, as patches whose images are
// taken from their own folder, or else from the one place in `folder` with a file of that
// name.
OpenedDownload openPatchFolder(FileSystem& fileSystem, const std::string& folder);

}  // namespace kitloom
