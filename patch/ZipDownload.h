#pragma once

#include "patch/Download.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kitloom {

class FileSystem;
class OpenFile;

// A real patch is a few hundred bytes and an image a few hundred kilobytes: entries larger
// than these are not read.
inline constexpr std::uint64_t kMaxPatchEntry = 64 * 1024;
inline constexpr std::uint64_t kMaxImageEntry = 32 * 1024 * 1024;

// Every .jer in the zip archive at `path` (open as `file`), as patches whose images are
// copied out of the archive: from the patch's own folder in it, or else from the one place in
// it with a file of that name. Nothing is ever written under a name from the archive.
OpenedDownload openZipDownload(FileSystem& fileSystem, const std::string& path, std::unique_ptr<OpenFile> file);

}  // namespace kitloom
