#include "platform/FileSystem.h"

#include "platform/Paths.h"

#include <algorithm>

namespace kitloom {

MoveResult FileSystem::moveFile(const std::string& from, const std::string& to)
{
    const MoveResult renamed = renameFile(from, to);
    return renamed == MoveResult::OtherVolume ? copyThenRemove(from, to) : renamed;
}

MoveResult FileSystem::copyThenRemove(const std::string& from, const std::string& to)
{
    const std::unique_ptr<OpenFile> source = openForReading(from);
    std::uint64_t size = 0;
    if (!source || !source->size(size))
        return MoveResult::Failed;
    std::string temporary;
    std::unique_ptr<OpenFile> copy = createTemporaryIn(withClosingSeparator(folderOfPath(to)), temporary);
    if (!copy)
        return MoveResult::Failed;
    std::string buffer(64 * 1024, '\0');
    bool copied = true;
    for (std::uint64_t offset = 0; copied && offset < size; offset += buffer.size()) {
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), size - offset));
        copied = source->readAt(offset, buffer.data(), count) && copy->writeAt(offset, buffer.data(), count);
    }
    copied = copied && copy->flush();
    copy.reset();  // Windows renames no open file
    // The whole copy, closed, takes the final name without replacing anything.
    MoveResult result = copied ? renameFile(temporary, to) : MoveResult::Failed;
    if (result == MoveResult::Moved) {
        removeFile(from);
        return result;
    }
    removeFile(temporary);
    return result == MoveResult::DestinationExists ? result : MoveResult::Failed;
}

}  // namespace kitloom
