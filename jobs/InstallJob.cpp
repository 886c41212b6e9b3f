#include "jobs/InstallJob.h"

#include "core/GamePaths.h"
#include "platform/Paths.h"

namespace kitloom {

InstallResult installJersey(FileSystem& fileSystem, InstallRequest request)
{
    InstallResult result;
    const std::string patchFolder = folderOfPath(request.patchPath);
    result.game = decideGame(fileSystem, request.game, &patchFolder);
    result.gameDecided = gameDecided(result.game);
    if (!result.gameDecided)
        return result;
    PatchInstallOptions install;
    // The patch's own folder is the installer's own default, which it finds as a full path.
    if (result.game.source != GameSource::PatchFolder)
        install.gameFolder = result.game.folder;
    install.fallBackBesideSaves = !request.game.artFolder;
    install.details = request.details;
    install.job = std::move(request.job);
    install.imageMoved = std::move(request.imageMoved);
    result.install = installPatch(request.patchPath,
                                  request.game.artFolder ? *request.game.artFolder
                                                         : artFolderOf(fileSystem, result.game.folder),
                                  fileSystem, install);
    result.messages = patchInstallMessages(result.install);

    const PatchInstallReport& installed = result.install;
    if (installed.read == PatchReadResult::Read && installed.missingTable.empty())
        result.status = statusOf(installed.job);
    if (result.status == JobStatus::Succeeded && !installed.imagesInPlace())
        result.status = JobStatus::Failed;
    return result;
}

}  // namespace kitloom
