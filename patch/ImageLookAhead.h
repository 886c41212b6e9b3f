#pragma once

#include "core/SaveTarget.h"
#include "platform/FileSystem.h"

#include <string>

namespace kitloom {

// What an install can tell before it changes anything: the table the jersey needs, and
// whether the art folder can take the images.

// The table the jersey goes into first, when it is missing; empty when it is there.
std::string missingTable(FileSystem& fileSystem, const std::string& gameFolder, const SaveTarget& target);
// Whether `folder` is there and may be written in, or could be made; the reason when not.
Done folderCouldBeMade(FileSystem& fileSystem, const std::string& folder);
// True when both files hold the same bytes.
bool sameFiles(FileSystem& fileSystem, const std::string& one, const std::string& other);

}  // namespace kitloom
