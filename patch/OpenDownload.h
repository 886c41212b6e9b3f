#pragma once

#include "patch/Download.h"

#include <string>

namespace kitloom {

class FileSystem;

// What `path` holds for an install: a folder's patches, a zip's, or itself as a lone patch
// whose images are found beside it in any case; never "an invalid patch" for an archive.
OpenedDownload openDownload(FileSystem& fileSystem, const std::string& path);

}  // namespace kitloom
