#include "patch/PatchInstaller.h"

#include "platform/FileSystem.h"
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
    const bool dryRun = options.job.dryRun;
    std::string artFolderName = withoutClosingSeparator(artFolder);
    // Only a dry run looks ahead: a real one finds out by making the folder.
    auto folderCanBe = [&](const std::string& folder) {
        if (fileSystem.exists(folder))
            return true;
        if (!dryRun)
            return fileSystem.createFolder(folder);
        const std::string parent = withoutClosingSeparator(folderOfPath(folder));
        return parent.empty() || fileSystem.exists(parent);
    };
    bool artFolderCanBe = folderCanBe(artFolderName);
    if (!artFolderCanBe && options.artFolderBesideSaves) {
        if (const auto render = fileSystem.folderNamed(game, "render")) {
            artFolderName = game + *render + kPathSeparator + "xteam";
            artFolderCanBe = folderCanBe(artFolderName);
        }
    }
    report.artFolder = withClosingSeparator(artFolderName);
    for (const std::string& image : images) {
        if (image.empty())
            continue;
        ImageMove move{image, patchFolder + image, report.artFolder + image};
        move.result = dryRun ? foreseeMove(fileSystem, move.from, move.to, artFolderCanBe)
                             : fileSystem.moveFile(move.from, move.to);
        move.inArtFolder = (dryRun && move.result != MoveResult::Failed) || fileSystem.exists(move.to);
        if (options.imageMoved)
            options.imageMoved(move);
        report.images.push_back(std::move(move));
    }

    TeamGearFile teamGear(fileSystem, options.job);
    report.job = teamGear.installJersey(
        saveFolder.empty() ? SaveTarget::everyNumberedSave(game) : SaveTarget::namedSave(game, saveFolder), patch.spec);
    return report;
}

}  // namespace kitloom
