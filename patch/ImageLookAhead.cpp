#include "patch/ImageLookAhead.h"

#include "core/GamePaths.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <algorithm>
#include <memory>

namespace kitloom {

namespace {

// True when both files hold the same bytes.
bool sameBytes(FileSystem& fileSystem, const std::string& one, const std::string& other)
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

}  // namespace

std::string imageBeside(FileSystem& fileSystem, const std::string& patchFolder, const std::string& image)
{
    return patchFolder + fileSystem.fileNamed(patchFolder, image).value_or(image);
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

// What moving `from` to `to` would give, the art folder being made first if need be.
MoveResult foreseeMove(FileSystem& fileSystem, const std::string& from, const std::string& to, bool artFolderCanBe)
{
    if (fileSystem.kindOf(from) != EntryKind::RegularFile || !artFolderCanBe)
        return MoveResult::Failed;
    switch (fileSystem.kindOf(to)) {
    case EntryKind::Missing:
        return MoveResult::Moved;
    case EntryKind::RegularFile:
        return MoveResult::DestinationExists;
    case EntryKind::Other:
        break;
    }
    return MoveResult::Failed;
}


void explainImage(FileSystem& fileSystem, ImageMove& move, bool artFolderCanBe, const std::string& artFolderReason)
{
    move.otherImageThere = move.inArtFolder && move.result == MoveResult::DestinationExists &&
                           !sameBytes(fileSystem, move.from, move.to);
    if (!move.inArtFolder)
        move.trouble = fileSystem.kindOf(move.from) != EntryKind::RegularFile ? ImageTrouble::NotBesidePatch
                       : !artFolderCanBe                                      ? ImageTrouble::NoArtFolder
                       : fileSystem.kindOf(move.to) == EntryKind::Other       ? ImageTrouble::NotAFileThere
                                                                              : ImageTrouble::MoveFailed;
    // The system's words stay only with the failure they explain.
    if (move.trouble == ImageTrouble::NoArtFolder)
        move.reason = artFolderReason;
    else if (move.trouble != ImageTrouble::MoveFailed && !move.sourceKept)
        move.reason.clear();
}

}  // namespace kitloom
