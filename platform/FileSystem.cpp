#include "platform/FileSystem.h"

#include "platform/Paths.h"


namespace kitloom {

MoveDone FileSystem::moveFile(const std::string& from, const std::string& to)
{
    MoveDone renamed = renameFile(from, to);
    return renamed.result == MoveResult::OtherVolume ? copyThenRemove(from, to) : renamed;
}

MoveDone FileSystem::copyThenRemove(const std::string& from, const std::string& to)
{
    MoveDone moved;
    Opened source = openForReading(from);
    std::uint64_t size = 0;
    if (!source.file) {
        moved.reason = source.reason;
        return moved;
    }
    if (!succeeded(source.file->size(size), moved.reason))
        return moved;
    std::string temporary;
    Opened copy = createTemporaryIn(withClosingSeparator(folderOfPath(to)), temporary);
    if (!copy.file) {
        moved.reason = copy.reason;
        return moved;
    }
    std::string buffer(kChunkSize, '\0');
    bool copied = forEachChunk(size, [&](std::uint64_t offset, std::size_t count) {
        return succeeded(source.file->readAt(offset, buffer.data(), count), moved.reason) &&
               succeeded(copy.file->writeAt(offset, buffer.data(), count), moved.reason);
    });
    copied = copied && succeeded(copy.file->flush(), moved.reason);
    copy.file.reset();  // Windows renames no open file
    // The whole copy, closed, takes the final name without replacing anything.
    if (copied)
        moved = renameFile(temporary, to);
    if (moved.result == MoveResult::Moved) {
        source.file.reset();  // Windows removes no file open without delete sharing
        moved.sourceKept = !succeeded(removeFile(from), moved.reason);
        return moved;
    }
    removeFile(temporary);
    if (moved.result != MoveResult::DestinationExists)
        moved.result = MoveResult::Failed;
    return moved;
}

}  // namespace kitloom
