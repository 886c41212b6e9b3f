#include "patch/PatchInstaller.h"

#include "core/GamePaths.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <memory>

namespace kitloom {

namespace {

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

// True when both files hold the same bytes.
bool sameBytes(FileSystem& fileSystem, const std::string& one, const std::string& other)
{
    const std::unique_ptr<OpenFile> first = fileSystem.openForReading(one);
    const std::unique_ptr<OpenFile> second = fileSystem.openForReading(other);
    std::uint64_t size = 0;
    std::uint64_t otherSize = 0;
    if (!first || !second || !first->size(size) || !second->size(otherSize) || size != otherSize)
        return false;
    std::string a(64 * 1024, '\0');
    std::string b(a.size(), '\0');
    for (std::uint64_t offset = 0; offset < size; offset += a.size()) {
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(a.size(), size - offset));
        if (!first->readAt(offset, a.data(), count) || !second->readAt(offset, b.data(), count) ||
            a.compare(0, count, b, 0, count) != 0)
            return false;
    }
    return true;
}

}  // namespace

PatchInstallReport installPatch(const std::string& patchPath, const std::string& artFolder, FileSystem& fileSystem,
                                const PatchInstallOptions& options)
{
    PatchInstallReport report;
    // Joined to image names, a path padded with "./" segments could pass the system's path
    // limit where the short path it stands for does not.
    const std::string patchFile = fileSystem.fullPath(patchPath);
    Patch patch;
    report.read = readPatch(fileSystem, patchFile, patch);
    if (report.read != PatchReadResult::Read)
        return report;
    const std::string& saveFolder = patch.lines[0];
    const std::string images[] = {patch.lines[1], patch.lines[2]};
    const std::string patchFolder = folderOfPath(patchFile);
    const std::string game = options.gameFolder ? withClosingSeparator(*options.gameFolder) : patchFolder;
    // A move takes folders and links along as readily as files: only files may go.
    for (const std::string& image : images) {
        if (!image.empty() && fileSystem.kindOf(patchFolder + image) == EntryKind::Other) {
            report.read = PatchReadResult::Invalid;
            return report;
        }
    }
    const SaveTarget target = saveFolder.empty() ? SaveTarget::everyNumberedSave(game)
                                                 : SaveTarget::namedSave(game, saveFolder);
    if (options.savesBeforeImages) {
        const std::string table = saveTableIn(fileSystem, savesFolderIn(fileSystem, game),
                                              target.named() ? saveFolder : numberedSaveName(0));
        if (fileSystem.missing(table)) {
            report.missingTable = table;
            report.job.namedSave = target.named();
            return report;
        }
    }
    const bool dryRun = options.job.dryRun;
    std::string artFolderName = withoutClosingSeparator(artFolder);
    // Only a dry run looks ahead: a real one finds out by making the folder.
    auto folderCanBe = [&](const std::string& folder) {
        if (fileSystem.exists(folder))
            return !dryRun || fileSystem.mayWriteIn(folder);
        if (!dryRun)
            return fileSystem.createFolder(folder);
        const std::string parent = withoutClosingSeparator(folderOfPath(folder));
        return parent.empty() ? fileSystem.mayWriteIn(".") : fileSystem.exists(parent) && fileSystem.mayWriteIn(parent);
    };
    std::string artFolderReason;
    bool artFolderCanBe = succeeds(artFolderReason, [&] { return folderCanBe(artFolderName); });
    if (!artFolderCanBe && options.artFolderBesideSaves) {
        if (const auto render = renderArtFolder(fileSystem, game)) {
            artFolderName = *render;
            artFolderCanBe = succeeds(artFolderReason, [&] { return folderCanBe(artFolderName); });
        }
    }
    report.artFolder = withClosingSeparator(artFolderName);
    if (artFolderCanBe && !dryRun)
        fileSystem.removeLeftTemporaries(report.artFolder);
    for (const std::string& image : images) {
        if (image.empty())
            continue;
        ImageMove move;
        move.image = image;
        move.from = patchFolder + image;
        move.to = report.artFolder + image;
        const bool besidePatch = fileSystem.kindOf(move.from) == EntryKind::RegularFile;
        if (dryRun)
            move.result = foreseeMove(fileSystem, move.from, move.to, artFolderCanBe);
        else
            succeeds(move.reason,
                     [&] { return (move.result = fileSystem.moveFile(move.from, move.to)) == MoveResult::Moved; });
        // Only a file is an image: a folder of that name would take none.
        move.inArtFolder = (dryRun && move.result != MoveResult::Failed) ||
                           fileSystem.kindOf(move.to) == EntryKind::RegularFile;
        move.otherImageThere = move.inArtFolder && move.result == MoveResult::DestinationExists &&
                               !sameBytes(fileSystem, move.from, move.to);
        if (!move.inArtFolder)
            move.trouble = !besidePatch                                     ? ImageTrouble::NotBesidePatch
                           : !artFolderCanBe                                ? ImageTrouble::NoArtFolder
                           : fileSystem.kindOf(move.to) == EntryKind::Other ? ImageTrouble::NotAFileThere
                                                                            : ImageTrouble::MoveFailed;
        // The system's words stay only with the failure they explain.
        if (move.trouble == ImageTrouble::NoArtFolder)
            move.reason = artFolderReason;
        else if (move.trouble != ImageTrouble::MoveFailed)
            move.reason.clear();
        if (options.imageMoved)
            options.imageMoved(move);
        report.images.push_back(std::move(move));
    }

    report.job = TeamGearFile(fileSystem, options.job).installJersey(target, patch.spec);
    return report;
}

bool PatchInstallReport::imagesInPlace() const
{
    return std::all_of(images.begin(), images.end(),
                       [](const ImageMove& move) { return move.inArtFolder && !move.otherImageThere; });
}

}  // namespace kitloom
