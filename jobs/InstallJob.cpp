#include "jobs/InstallJob.h"

#include "core/GamePaths.h"
#include "core/SaveSweep.h"
#include "patch/PatchFile.h"
#include "platform/Paths.h"

#include <algorithm>

namespace kitloom {

namespace {

// kitloom.exe installs each patch alone, its images moving before the tables change: its copy
// of the install carries nothing of downloads, nor of a patch that goes in whole or not at all.
#ifdef KITLOOM_PROGRAM_COPY
constexpr bool kDownloads = false;
#else
constexpr bool kDownloads = true;
#endif

bool anyTableHasTheJersey(const SweepReport& job)
{
    return std::any_of(job.tables.begin(), job.tables.end(), gotTheJersey);
}

bool readyToGo(const ImageMove& move) { return move.inArtFolder && !move.otherImageThere; }

}  // namespace

PatchInstallReport installPatch(FileSystem& fileSystem, const JobHooks& hooks, JobObserver* observer,
                                PatchSource& source, const std::string& artFolder, const PatchInstallOptions& options)
{
    PatchInstallReport report;
    Patch patch;
    report.read = source.read(patch, report.damage);
    if (report.read != PatchReadResult::Read)
        return report;
    report.jersey = patch.spec;
    const std::string game = options.gameFolder ? withClosingSeparator(*options.gameFolder) : source.gameFolderHint();
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
        if (!fileSystem.exists(folder))
            return fileSystem.createFolder(folder);
        // Whole or nothing asks first, as a dry run does, so that both give one reason.
        return kDownloads && hooks.stageImage ? fileSystem.mayWriteIn(folder) : Done();
    };
    ImageDestination destination;
    std::string artFolderName = withoutClosingSeparator(artFolder);
    destination.artFolderCanBe = succeeded(folderCanBe(artFolderName), destination.artFolderReason);
    if (!destination.artFolderCanBe && options.fallBackBesideSaves) {
        if (const auto render = artFolderBesideSaves(fileSystem, game)) {
            artFolderName = *render;
            destination.artFolderCanBe = succeeded(folderCanBe(artFolderName), destination.artFolderReason);
        }
    }
    report.artFolder = destination.artFolder = withClosingSeparator(artFolderName);
#ifndef KITLOOM_PROGRAM_COPY
    destination.replacedImagesPrefix = options.replacedImagesPrefix;
#endif
    if (destination.artFolderCanBe && !dryRun)
        fileSystem.removeLeftTemporaries(report.artFolder);
    for (std::size_t line = 1; line < patch.lines.size(); ++line) {
        const std::string& image = patch.lines[line];
        if (image.empty())
            continue;
        if (kDownloads && hooks.stageImage) {
            report.images.push_back(hooks.stageImage(fileSystem, source, image, destination, dryRun));
        } else {
            report.images.push_back(moveImage(fileSystem, source.findImage(image).path, image, report.artFolder));
            if (observer)
                observer->imageMoved(report.images.back());
        }
    }
    const bool staged = kDownloads && hooks.stageImage != nullptr;
    auto tellImages = [&] {
        for (const ImageMove& move : report.images) {
            if (observer && staged)
                observer->imageMoved(move);
        }
    };
    const bool damaged = std::any_of(report.images.begin(), report.images.end(),
                                     [](const ImageMove& move) { return static_cast<bool>(move.damage); });
    const bool whole = std::all_of(report.images.begin(), report.images.end(), readyToGo);
    if (staged && (damaged || (!whole && !options.imagesLater))) {
        report.refused = true;
        hooks.placeStagedImages(fileSystem, source, report.images, false);
        tellImages();
        return report;
    }

    SaveSweep tables(fileSystem, {dryRun, tablesToldTo(observer), dryRun ? nullptr : options.witness});
    report.job = hooks.putJersey(tables, target, patch.spec, options.again);
    if (staged) {
        hooks.placeStagedImages(fileSystem, source, report.images, anyTableHasTheJersey(report.job));
        tellImages();
    }
    return report;
}

PatchInstallReport installPatch(FileSystem& fileSystem, const JobHooks& hooks, JobObserver* observer,
                                const std::string& patchPath, const std::string& artFolder,
                                const PatchInstallOptions& options)
{
    PatchFile source(fileSystem, patchPath, hooks.openDownload ? ImageLookup::AnyCase : ImageLookup::Exact);
    return installPatch(fileSystem, hooks, observer, source, artFolder, options);
}

namespace {

// A patch whose game came from a search or from the player, or that had none, has told the
// player all there is to tell about the game.
bool tellsTheGame(const GameChoice& choice)
{
    return !gameDecided(choice) || choice.source == GameSource::Found || choice.source == GameSource::Remembered ||
           choice.source == GameSource::Asked || choice.source == GameSource::FoundInGiven;
}

PatchInstall installOne(FileSystem& fileSystem, const InstallRequest& request, PatchSource& source, bool tellGame)
{
    PatchInstall one;
    one.patchPath = source.download();
    one.inner = source.inner();
    one.gameTold = tellGame;
    const std::string patchFolder = source.gameFolderHint();
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
    options.imagesLater = request.imagesLater;
    options.witness = request.witness;
#ifndef KITLOOM_PROGRAM_COPY
    options.replacedImagesPrefix = request.replacedImagesPrefix;
#endif
    const std::string artFolder = request.game.artFolder ? *request.game.artFolder
                                                         : artFolderOf(fileSystem, one.game.folder);
    one.install = installPatch(fileSystem, *request.hooks, request.observer, source, artFolder, options);
    one.messages = patchInstallMessages(one.install);

    const PatchInstallReport& installed = one.install;
    if (installed.read == PatchReadResult::Read && installed.missingTable.empty() && !installed.refused)
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
    // Each patch in turn; false once one was stopped.
    auto installEach = [&](PatchSource& source) {
        if (request.observer)
            request.observer->patchStarted(source);
        result.patches.push_back(installOne(fileSystem, request, source, !gameTold));
        const PatchInstall& one = result.patches.back();
        if (request.observer)
            request.observer->patchDone(one);
        gameTold = gameTold || tellsTheGame(one.game);
        if (one.status == JobStatus::Stopped) {
            result.status = JobStatus::Stopped;
            return false;
        }
        if (one.status != JobStatus::Succeeded)
            result.status = JobStatus::Failed;
        return true;
    };
    for (const std::string& path : request.patchPaths) {
        if (!kDownloads || !request.hooks->openDownload) {
            PatchFile lone(fileSystem, path, ImageLookup::Exact);
            if (!installEach(lone))
                break;
            continue;
        }
        OpenedDownload opened = request.hooks->openDownload(fileSystem, path);
        DownloadInstall download{
            path, opened.kind, opened.trouble, opened.archive, opened.reason, result.patches.size(), 0};
        if (opened.trouble != DownloadTrouble::None)
            result.status = JobStatus::Failed;
        bool going = true;
        for (const auto& source : opened.patches) {
            ++download.patchCount;
            if (!(going = installEach(*source)))
                break;
        }
        result.downloads.push_back(download);
        if (request.observer)
            request.observer->downloadDone(download, result.patches);
        if (!going)
            break;
    }
    if (request.patchPaths.empty())
        result.status = JobStatus::Failed;
    return result;
}

}  // namespace kitloom
