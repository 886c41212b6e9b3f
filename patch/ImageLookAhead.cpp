#include "patch/ImageLookAhead.h"

#include "core/GamePaths.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <memory>

namespace kitloom {

bool sameFiles(FileSystem& fileSystem, const std::string& one, const std::string& other)
{
    const std::unique_ptr<OpenFile> first = fileSystem.openForReading(one).file;
    const std::unique_ptr<OpenFile> second = fileSystem.openForReading(other).file;
    std::uint64_t size = 0;
    std::uint64_t otherSize = 0;
    if (!first || !second || !first->size(size) || !second->size(otherSize) || size != otherSize)
        return false;
    std::string a(kChunkSize, '\0');
    std::string b(kChunkSize, '\0');
    return forEachChunk(size, [&](std::uint64_t offset, std::size_t count) {
        return first->readAt(offset, a.data(), count) && second->readAt(offset, b.data(), count) &&
               a.compare(0, count, b, 0, count) == 0;
    });
}

std::string missingTable(FileSystem& fileSystem, const std::string& gameFolder, const SaveTarget& target)
{
    const std::string table = saveTableIn(fileSystem, savesFolderIn(fileSystem, gameFolder),
                                          target.saveFolder().value_or(numberedSaveName(0)));
    return fileSystem.missing(table) ? table : std::string();
}

Done folderCouldBeMade(FileSystem& fileSystem, const std::string& folder)
{
    if (fileSystem.exists(folder))
        return fileSystem.mayWriteIn(folder);
    const std::string parent = withoutClosingSeparator(folderOfPath(folder));
    return fileSystem.mayWriteIn(parent.empty() ? "." : parent);
}

}  // namespace kitloom
