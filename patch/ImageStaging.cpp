#include "patch/ImageStaging.h"

#include "patch/ImageLookAhead.h"
#include "patch/PatchFile.h"
#include "platform/FileSystem.h"

#include <memory>

namespace kitloom {

namespace {

// True when the file at `path` holds exactly the image's bytes.
bool sameAsImage(FileSystem& fileSystem, PatchSource& source, const ImageSource& found, const std::string& path,
                 EntryDamage& damage)
{
    const std::unique_ptr<OpenFile> file = fileSystem.openForReading(path).file;
    std::uint64_t size = 0;
    if (!file || !file->size(size))
        return false;
    std::uint64_t offset = 0;
    std::string there(kChunkSize, '\0');
    bool same = true;
    const ByteSink compare = [&](const char* bytes, std::size_t count) {
        same = offset + count <= size && file->readAt(offset, there.data(), count) &&
               there.compare(0, count, bytes, count) == 0;
        offset += count;
        return same;
    };
    const Done read = source.readImage(found, compare, damage);
    return read && same && offset == size;
}

void fail(ImageMove& move, ImageTrouble trouble, std::string reason = {})
{
    move.result = MoveResult::Failed;
    move.inArtFolder = false;
    move.trouble = trouble;
    move.reason = std::move(reason);
}

// Writes the image into a new temporary in the art folder; false, with `move` told why,
// when it could not be written whole.
bool copyToTemporary(FileSystem& fileSystem, PatchSource& source, const ImageSource& found, ImageMove& move,
                     const std::string& artFolder)
{
    std::string temporary;
    Opened copy = fileSystem.createTemporaryIn(artFolder, temporary);
    if (!copy.file) {
        std::string reason;
        if (!succeeded(fileSystem.mayWriteIn(artFolder), reason))
            fail(move, ImageTrouble::ArtFolderReadOnly, reason);
        else
            fail(move, ImageTrouble::MoveFailed, copy.reason);
        return false;
    }
    std::uint64_t offset = 0;
    Done written;
    const ByteSink write = [&](const char* bytes, std::size_t count) {
        written = copy.file->writeAt(offset, bytes, count);
        offset += count;
        return static_cast<bool>(written);
    };
    const Done read = source.readImage(found, write, move.damage);
    if (read && written)
        written = copy.file->flush();
    copy.file.reset();  // Windows renames no open file
    if (move.damage && move.damage.trouble != EntryTrouble::CannotRead)
        fail(move, ImageTrouble::Damaged);
    else if (!read || !written)
        fail(move, ImageTrouble::MoveFailed, !written ? written.reason() : read.reason());
    else {
        move.staged = temporary;
        return true;
    }
    fileSystem.removeFile(temporary);
    return false;
}

}  // namespace

ImageMove stageImage(FileSystem& fileSystem, PatchSource& source, const std::string& image,
                     const ImageDestination& destination, bool dryRun)
{
    ImageMove move;
    move.image = image;
    move.to = destination.artFolder + artFolderName(image);
    const ImageSource found = source.findImage(image);
    move.from = found.path;
    if (!source.movesImages())
        move.archive = source.download();
#ifndef KITLOOM_PROGRAM_COPY
    // Neither name can be used at all: not beside the patch would be untrue, and the move
    // would fail after the tables changed. The program's ANSI calls reach no such path, and
    // it keeps its own words for that.
    if (found.found != ImageSource::Found::Here && source.movesImages() && fileSystem.nameTooLong(found.path)) {
        fail(move, ImageTrouble::PathTooLongBeside);
        return move;
    }
    if (fileSystem.nameTooLong(move.to)) {
        fail(move, ImageTrouble::PathTooLongThere);
        return move;
    }
#endif
    const EntryKind there = fileSystem.kindOf(move.to);
    if (found.found != ImageSource::Found::Here) {
        // A reinstall finds its images already there, moved by the first.
        move.inArtFolder = there == EntryKind::RegularFile;
        if (!move.inArtFolder)
            move.trouble = found.found == ImageSource::Found::Several ? ImageTrouble::SeveralFound
                                                                      : ImageTrouble::NotBesidePatch;
        move.candidates = found.candidates;
        return move;
    }
    if (!destination.artFolderCanBe) {
        fail(move,
             fileSystem.exists(destination.artFolder) ? ImageTrouble::ArtFolderReadOnly : ImageTrouble::NoArtFolder,
             destination.artFolderReason);
        return move;
    }
    if (there == EntryKind::RegularFile) {
        move.result = MoveResult::DestinationExists;
        move.inArtFolder = true;
        move.otherImageThere = !sameAsImage(fileSystem, source, found, move.to, move.damage);
        if (move.damage && move.damage.trouble != EntryTrouble::CannotRead) {
            fail(move, ImageTrouble::Damaged);
            return move;
        }
#ifndef KITLOOM_PROGRAM_COPY
        if (!move.otherImageThere || destination.replacedImagesPrefix.empty())
            return move;
        // Asked to replace it: made ready as a new image is, the old one kept aside on placing.
        // The program keeps both, as it always has.
        move.otherImageThere = false;
        move.replacedKeptAs = destination.replacedImagesPrefix + artFolderName(image);
        if (dryRun) {
            move.result = MoveResult::Moved;
            return move;
        }
        if (copyToTemporary(fileSystem, source, found, move, destination.artFolder))
            move.result = MoveResult::Moved;
#endif
        return move;
    }
    if (there == EntryKind::Other) {
        fail(move, ImageTrouble::NotAFileThere);
        return move;
    }
    if (dryRun) {
        // Read through, so that a damaged entry is found as the real run would find it.
        const Done read = source.readImage(
            found, [](const char*, std::size_t) { return true; }, move.damage);
        if (!read || move.damage)
            fail(move,
                 move.damage.trouble == EntryTrouble::CannotRead ? ImageTrouble::MoveFailed : ImageTrouble::Damaged,
                 read.reason());
        else {
            move.result = MoveResult::Moved;
            move.inArtFolder = true;
        }
        return move;
    }
    if (copyToTemporary(fileSystem, source, found, move, destination.artFolder)) {
        move.result = MoveResult::Moved;
        move.inArtFolder = true;
    }
    return move;
}

void placeStagedImages(FileSystem& fileSystem, PatchSource& source, std::vector<ImageMove>& images, bool keep)
{
    for (ImageMove& move : images) {
        if (move.staged.empty())
            continue;
        const std::string temporary = std::move(move.staged);
        move.staged.clear();
        if (!keep) {
            fileSystem.removeFile(temporary);
            move.withdrawn = true;
            move.result = MoveResult::Failed;
            move.inArtFolder = false;
            continue;
        }
#ifndef KITLOOM_PROGRAM_COPY
        if (!move.replacedKeptAs.empty()) {
            const MoveDone kept = fileSystem.moveFile(move.to, move.replacedKeptAs);
            if (kept.result != MoveResult::Moved) {
                fileSystem.removeFile(temporary);
                move.replacedKeptAs.clear();
                fail(move, ImageTrouble::MoveFailed, kept.reason);
                continue;
            }
        }
#endif
        MoveDone placed = fileSystem.renameFile(temporary, move.to);
        if (placed.result != MoveResult::Moved) {
#ifndef KITLOOM_PROGRAM_COPY
            if (!move.replacedKeptAs.empty() &&
                fileSystem.moveFile(move.replacedKeptAs, move.to).result == MoveResult::Moved)
                move.replacedKeptAs.clear();
#endif
            // Another image took the name meanwhile: both are kept, as after a move.
            move.otherImageThere = placed.result == MoveResult::DestinationExists &&
                                   !sameFiles(fileSystem, temporary, move.to);
            fileSystem.removeFile(temporary);
            move.result = placed.result == MoveResult::DestinationExists ? placed.result : MoveResult::Failed;
            move.inArtFolder = fileSystem.kindOf(move.to) == EntryKind::RegularFile;
            if (!move.inArtFolder)
                fail(move, ImageTrouble::MoveFailed, placed.reason);
            continue;
        }
        std::string reason;
        if (source.movesImages() && !succeeded(fileSystem.removeFile(move.from), reason)) {
            move.sourceKept = true;
            move.reason = reason;
        }
    }
}

}  // namespace kitloom
