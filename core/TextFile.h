#pragma once

#include <cstddef>
#include <string>

namespace kitloom {

class FileSystem;

enum class TextFileRead { Read, Missing, Unreadable };

// The whole of the small text file at `path`, into `text`. A file larger than `limit`
// bytes is no file of the kind asked for, and counts as one that could not be read.
TextFileRead readTextFile(FileSystem& fileSystem, const std::string& path, std::string& text, std::size_t limit);

}  // namespace kitloom
