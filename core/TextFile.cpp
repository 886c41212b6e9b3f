#include "core/TextFile.h"

#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <memory>
#include <vector>

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

bool makeFolders(FileSystem& fileSystem, const std::string& folder, std::string& reason)
{
    std::vector<std::string> missing;
    for (std::string at = withoutClosingSeparator(folder); !at.empty() && !fileSystem.exists(at);) {
        missing.push_back(at);
        const std::string parent = withoutClosingSeparator(folderOfPath(at));
        if (parent == at)
            break;
        at = parent;
    }
    for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
        const Done made = fileSystem.createFolder(*level);
        if (!made && !fileSystem.exists(*level)) {
            reason = made.reason();
            return false;
        }
    }
    return true;
}

}  // namespace kitloom
