#include "patch/PatchInstaller.h"

#include "core/GamePaths.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <algorithm>
#include <memory>

namespace kitloom {

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
    const InstallerDetails* details = options.details;
    if (details) {
        report.missingTable = details->missingTable(fileSystem, game, target);
        if (!report.missingTable.empty()) {
            report.job.namedSave = target.named();
            return report;
        }
    }
    // Only a dry run looks ahead, and it cannot without the details: a real one finds out
    // by making the folder.
    const bool dryRun = options.job.dryRun;
    auto folderCanBe = [&](const std::string& folder) {
        if (dryRun)
            return details ? details->folderCouldBeMade(fileSystem, folder) : Done::failure({});
        return fileSystem.exists(folder) ? Done() : fileSystem.createFolder(folder);
    };
    std::string artFolderName = withoutClosingSeparator(artFolder);
    std::string artFolderReason;
    bool artFolderCanBe = succeeded(folderCanBe(artFolderName), artFolderReason);
    if (!artFolderCanBe && options.fallBackBesideSaves) {
        if (const auto render = artFolderBesideSaves(fileSystem, game)) {
            artFolderName = *render;
            artFolderCanBe = succeeded(folderCanBe(artFolderName), artFolderReason);
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
        if (dryRun) {
            move.result = details ? details->foreseeMove(fileSystem, move.from, move.to, artFolderCanBe)
                                  : MoveResult::Failed;
        } else {
            MoveDone moved = fileSystem.moveFile(move.from, move.to);
            move.result = moved.result;
            move.reason = std::move(moved.reason);
        }
        // Only a file is an image: a folder of that name would take none.
        move.inArtFolder = (dryRun && move.result != MoveResult::Failed) ||
                           fileSystem.kindOf(move.to) == EntryKind::RegularFile;
        if (details)
            details->explain(fileSystem, move, artFolderCanBe, artFolderReason);
        if (options.imageMoved)
            options.imageMoved(move);
        report.images.push_back(std::move(move));
    }

    report.job = TableJobs(fileSystem, options.job).installJersey(target, patch.spec);
    return report;
}

bool PatchInstallReport::imagesInPlace() const
{
    return std::all_of(images.begin(), images.end(),
                       [](const ImageMove& move) { return move.inArtFolder && !move.otherImageThere; });
}

}  // namespace kitloom
