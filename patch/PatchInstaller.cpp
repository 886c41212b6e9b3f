#include "patch/PatchInstaller.h"

#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <algorithm>

namespace kitloom {

PatchReadResult readPatchToInstall(FileSystem& fileSystem, const std::string& patchFile, Patch& patch,
                                   std::string* reason)
{
    const PatchReadResult read = readPatch(fileSystem, patchFile, patch, reason);
    if (read != PatchReadResult::Read)
        return read;
    const std::string patchFolder = folderOfPath(patchFile);
    for (std::size_t line = 1; line < patch.lines.size(); ++line) {
        const std::string& image = patch.lines[line];
        if (!image.empty() && fileSystem.kindOf(patchFolder + image) == EntryKind::Other)
            return PatchReadResult::Invalid;
    }
    return PatchReadResult::Read;
}

ImageMove moveImage(FileSystem& fileSystem, const std::string& from, const std::string& image,
                    const std::string& artFolder)
{
    ImageMove move;
    move.image = image;
    move.from = from;
    move.to = artFolder + image;
    MoveDone moved = fileSystem.moveFile(move.from, move.to);
    move.result = moved.result;
    move.reason = std::move(moved.reason);
    move.sourceKept = moved.sourceKept;
    // Only a file is an image: a folder of that name would take none.
    move.inArtFolder = fileSystem.kindOf(move.to) == EntryKind::RegularFile;
    return move;
}

bool PatchInstallReport::imagesInPlace() const
{
    return std::all_of(images.begin(), images.end(),
                       [](const ImageMove& move) { return move.inArtFolder && !move.otherImageThere; });
}

}  // namespace kitloom
