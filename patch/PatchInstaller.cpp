#include "patch/PatchInstaller.h"

#include "core/GamePaths.h"
#include "core/TeamGearFile.h"
#include "patch/PatchReader.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"
#include "platform/Paths.h"

namespace kitloom {

namespace {

// What moving `from` to `to` would give, the art folder being made first if need be.
MoveResult foreseeMove(FileSystem& fileSystem, const std::string& from, const std::string& to, bool artFolderCanBe)
{
    if (fileSystem.kindOf(from) != EntryKind::RegularFile || !artFolderCanBe)
        return MoveResult::Failed;
    return fileSystem.exists(to) ? MoveResult::DestinationExists : MoveResult::Moved;
}

}  // namespace

bool installPatch(const std::string& patchPath, const std::string& artFolder, FileSystem& fileSystem,
                  Messages& messages, const PatchInstallOptions& options)
{
    // Joined to image names, a path padded with "./" segments could pass the system's path
    // limit where the short path it stands for does not.
    const std::string patchFile = fileSystem.fullPath(patchPath);
    Patch patch;
    if (const PatchReadResult read = readPatch(fileSystem, patchFile, patch); read != PatchReadResult::Read) {
        showError(messages, messageFor(read));
        return false;
    }
    const std::string& saveFolder = patch.lines[0];
    const std::string images[] = {patch.lines[1], patch.lines[2]};
    const std::string patchFolder = folderOfPath(patchFile);
    const std::string game = options.gameFolder ? withClosingSeparator(*options.gameFolder) : patchFolder;
    // A move takes folders and links along as readily as files: only files may go.
    for (const std::string& image : images) {
        if (!image.empty() && fileSystem.kindOf(patchFolder + image) == EntryKind::Other) {
            showError(messages, messageFor(PatchReadResult::Invalid));
            return false;
        }
    }
    const std::string artFolderName = withoutClosingSeparator(artFolder);
    const std::string artPrefix = withClosingSeparator(artFolderName);

    // Only a dry run looks at the result: a real one finds out from the moves.
    bool artFolderCanBe = fileSystem.exists(artFolderName);
    if (!artFolderCanBe && options.dryRun) {
        const std::string parent = withoutClosingSeparator(folderOfPath(artFolderName));
        artFolderCanBe = parent.empty() || fileSystem.exists(parent);
    } else if (!artFolderCanBe) {
        fileSystem.createFolder(artFolderName);
    }
    for (const std::string& image : images) {
        if (image.empty())
            continue;
        ImageMove move{patchFolder + image, artPrefix + image};
        move.result = options.dryRun ? foreseeMove(fileSystem, move.from, move.to, artFolderCanBe)
                                     : fileSystem.moveFile(move.from, move.to);
        if (options.imageMove)
            options.imageMove(move);
        // A reinstall finds its images already there, which is fine; only an image that
        // is in neither place is worth a word.
        const bool arrived = options.dryRun && move.result != MoveResult::Failed;
        if (!arrived && !fileSystem.exists(move.to))
            showError(messages, "Couldn't move " + image + " to " + artPrefix);
    }

    TeamGearFile teamGear(fileSystem, messages, game);
    teamGear.setObserver(options.observer);
    teamGear.setDryRun(options.dryRun);
    if (saveFolder.empty()) {
        std::string tablePath;
        return teamGear.installJersey(tablePath, patch.spec, false);
    }
    std::string tablePath = namedSaveTablePath(game, saveFolder);
    return teamGear.installJersey(tablePath, patch.spec, true);
}

}  // namespace kitloom
