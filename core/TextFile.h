#pragma once

#include <cstddef>
#include <string>

namespace kitloom {

class FileSystem;

enum class TextFileRead { Read, Missing, Unreadable };

// The whole of the small text file at `path`, into `text`. A file larger than `limit`
// bytes is no file of the kind asked for, and counts as one that could not be read.
TextFileRead readTextFile(FileSystem& fileSystem, const std::string& path, std::string& text, std::size_t limit);
// Makes every missing folder on the way to `folder`, from the outermost in; false, with the
// system's words in `reason`, when one could not be made.
bool makeFolders(FileSystem& fileSystem, const std::string& folder, std::string& reason);

}  // namespace kitloom
