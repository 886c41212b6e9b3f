#include "core/TextFile.h"

#include "platform/FileSystem.h"

#include <memory>

namespace kitloom {

TextFileRead readTextFile(FileSystem& fileSystem, const std::string& path, std::string& text, std::size_t limit)
{
    const std::unique_ptr<OpenFile> file = fileSystem.openForReading(path).file;
    if (!file)
        return fileSystem.missing(path) ? TextFileRead::Missing : TextFileRead::Unreadable;
    std::uint64_t size = 0;
    if (!file->size(size) || size > limit)
        return TextFileRead::Unreadable;
    text.assign(static_cast<std::size_t>(size), '\0');
    return file->readAt(0, text.data(), text.size()) ? TextFileRead::Read : TextFileRead::Unreadable;
}

}  // namespace kitloom
