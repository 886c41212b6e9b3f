#include "jobs/InstallJob.h"

#include "core/GamePaths.h"
#include "core/SaveSweep.h"
#include "platform/Paths.h"

namespace kitloom {

PatchInstallReport installPatch(FileSystem& fileSystem, const JobHooks& hooks, JobObserver* observer,
                                const std::string& patchPath, const std::string& artFolder,
                                const PatchInstallOptions& options)
{
    PatchInstallReport report;
    // Joined to image names, a path padded with "./" segments could pass the system's path
    // limit where the short path it stands for does not.
    const std::string patchFile = fileSystem.fullPath(patchPath);
    Patch patch;
    report.read = readPatchToInstall(fileSystem, patchFile, patch);
    if (report.read != PatchReadResult::Read)
        return report;
    report.jersey = patch.spec;
    const std::string patchFolder = folderOfPath(patchFile);
    const std::string game = options.gameFolder ? withClosingSeparator(*options.gameFolder) : patchFolder;
    const SaveTarget target = SaveTarget::ofSaveSlot(game, patch.lines[0]);
    if (hooks.missingTable) {
        report.missingTable = hooks.missingTable(fileSystem, game, target);
        if (!report.missingTable.empty()) {
            report.job.namedSave = target.named();
            return report;
        }
    }
    // Only a dry run looks ahead, and it cannot without the hooks' look ahead: a real one
    // finds out by making the folder.
    const bool dryRun = options.dryRun;
    auto folderCanBe = [&](const std::string& folder) {
        if (dryRun)
            return hooks.folderCouldBeMade ? hooks.folderCouldBeMade(fileSystem, folder) : Done::failure({});
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
    for (std::size_t line = 1; line < patch.lines.size(); ++line) {
        const std::string& image = patch.lines[line];
        if (image.empty())
            continue;
        const std::string from = hooks.imageBeside ? hooks.imageBeside(fileSystem, patchFolder, image)
                                                   : patchFolder + image;
        ImageMove move;
        if (dryRun) {
            move.image = image;
            move.from = from;
            move.to = report.artFolder + image;
            move.result = hooks.foreseeMove ? hooks.foreseeMove(fileSystem, move.from, move.to, artFolderCanBe)
                                            : MoveResult::Failed;
            move.inArtFolder = move.result != MoveResult::Failed || fileSystem.kindOf(move.to) == EntryKind::RegularFile;
        } else {
            move = moveImage(fileSystem, from, image, report.artFolder);
        }
        if (hooks.explainImage)
            hooks.explainImage(fileSystem, move, artFolderCanBe, artFolderReason);
        if (observer)
            observer->imageMoved(move);
        report.images.push_back(std::move(move));
    }

    SaveSweep tables(fileSystem, {dryRun, tablesToldTo(observer)});
    report.job = hooks.putJersey(tables, target, patch.spec, options.again);
    return report;
}

namespace {

// A patch whose game came from a search or from the player, or that had none, has told the
// player all there is to tell about the game.
bool tellsTheGame(const GameChoice& choice)
{
    return !gameDecided(choice) || choice.source == GameSource::Found || choice.source == GameSource::Remembered ||
           choice.source == GameSource::Asked;
}

PatchInstall installOne(FileSystem& fileSystem, const InstallRequest& request, const std::string& patchPath,
                        bool tellGame)
{
    PatchInstall one;
    one.patchPath = patchPath;
    one.gameTold = tellGame;
    const std::string patchFolder = folderOfPath(patchPath);
    one.game = decideGame(fileSystem, *request.hooks, tellGame ? request.observer : nullptr, request.game, &patchFolder);
    if (!gameDecided(one.game))
        return one;
    PatchInstallOptions options;
    // The patch's own folder is the installer's own default, which it finds as a full path.
    if (one.game.source != GameSource::PatchFolder)
        options.gameFolder = one.game.folder;
    options.fallBackBesideSaves = !request.game.artFolder;
    options.dryRun = request.dryRun;
    options.again = request.again;
    const std::string artFolder = request.game.artFolder ? *request.game.artFolder
                                                         : artFolderOf(fileSystem, one.game.folder);
    one.install = installPatch(fileSystem, *request.hooks, request.observer, patchPath, artFolder, options);
    one.messages = patchInstallMessages(one.install);

    const PatchInstallReport& installed = one.install;
    if (installed.read == PatchReadResult::Read && installed.missingTable.empty())
        one.status = statusOf(installed.job);
    if (one.status == JobStatus::Succeeded && !installed.imagesInPlace())
        one.status = JobStatus::Failed;
    return one;
}

}  // namespace

InstallResult installJerseys(FileSystem& fileSystem, const InstallRequest& request)
{
    InstallResult result;
    result.status = JobStatus::Succeeded;
    bool gameTold = false;
    for (const std::string& patchPath : request.patchPaths) {
        if (request.observer)
            request.observer->patchStarted(patchPath);
        result.patches.push_back(installOne(fileSystem, request, patchPath, !gameTold));
        const PatchInstall& one = result.patches.back();
        if (request.observer)
            request.observer->patchDone(one);
        gameTold = gameTold || tellsTheGame(one.game);
        if (one.status == JobStatus::Stopped) {
            result.status = JobStatus::Stopped;
            break;
        }
        if (one.status != JobStatus::Succeeded)
            result.status = JobStatus::Failed;
    }
    if (request.patchPaths.empty())
        result.status = JobStatus::Failed;
    return result;
}

}  // namespace kitloom
