#include "patch/PatchInstaller.h"

#include "core/GamePaths.h"
#include "core/TeamGearFile.h"
#include "patch/PatchReader.h"
#include "platform/FileSystem.h"
#include "platform/Messages.h"
#include "platform/Paths.h"

namespace kitloom {

bool installPatch(const std::string& patchPath, const std::string& artFolder, FileSystem& fileSystem,
                  Messages& messages, const std::optional<std::string>& gameFolder)
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
    const std::string game = gameFolder ? withClosingSeparator(*gameFolder) : folderOfPath(patchFile);
    // A move takes folders and links along as readily as files: only files may go.
    for (const std::string& image : images) {
        if (!image.empty() && fileSystem.kindOf(game + image) == EntryKind::Other) {
            showError(messages, messageFor(PatchReadResult::Invalid));
            return false;
        }
    }
    const std::string artFolderName = withoutClosingSeparator(artFolder);
    const std::string artPrefix = withClosingSeparator(artFolderName);

    if (!fileSystem.exists(artFolderName))
        fileSystem.createFolder(artFolderName);
    for (const std::string& image : images) {
        if (!image.empty())
            fileSystem.moveFile(game + image, artPrefix + image);
    }
    // A reinstall finds its images already there, which is fine; only an image that is
    // in neither place is worth a word.
    for (const std::string& image : images) {
        if (!image.empty() && !fileSystem.exists(artPrefix + image))
            showError(messages, "Couldn't move " + image + " to " + artPrefix);
    }

    TeamGearFile teamGear(fileSystem, messages, game);
    if (saveFolder.empty()) {
        std::string tablePath;
        return teamGear.installJersey(tablePath, patch.spec, false);
    }
    std::string tablePath = namedSaveTablePath(game, saveFolder);
    return teamGear.installJersey(tablePath, patch.spec, true);
}

}  // namespace kitloom
