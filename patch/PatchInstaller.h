#pragma once

#include "core/TableJobs.h"
#include "patch/PatchReader.h"
#include "platform/FileSystem.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kitloom {

// Why an image is not in the art folder after its move.
enum class ImageTrouble {
    None,
    NotBesidePatch,  // no file of that name beside the patch
    NoArtFolder,     // the art folder could not be made
    NotAFileThere,   // a folder or a device of that name is in the art folder
    MoveFailed,      // the system refused the move (a full disk, say)
};

// One of the patch's images on its way into the art folder; in a dry run, `result` is
// what the move would give.
struct ImageMove {
    std::string image;  // as the patch names it
    std::string from;
    std::string to;
    MoveResult result = MoveResult::Failed;
    // After the move (or, in a dry run, after the move it foresees): a file of that name is
    // in the art folder. A reinstall finds its images already there, which is fine.
    bool inArtFolder = false;
    // The art folder held an image of that name already, with other bytes: another jersey's.
    // Both stay.
    bool otherImageThere = false;
    ImageTrouble trouble = ImageTrouble::None;  // when not inArtFolder
    std::string reason;                         // the system's words for NoArtFolder or MoveFailed, if any
};

// What a report that tells more than the program does needs from the installer. Pointers,
// so that the program, which never dry-runs and says only whether an image arrived, carries
// none of it.
struct InstallerDetails {
    // The table the jersey goes into first, when it is missing: then nothing moves.
    std::string (*missingTable)(FileSystem& fileSystem, const std::string& gameFolder, const SaveTarget& target);
    // A dry run's look ahead.
    Done (*folderCouldBeMade)(FileSystem& fileSystem, const std::string& folder);
    MoveResult (*foreseeMove)(FileSystem& fileSystem, const std::string& from, const std::string& to,
                              bool artFolderCanBe);
    // Whether the image there is another one, and why one did not arrive.
    void (*explain)(FileSystem& fileSystem, ImageMove& move, bool artFolderCanBe, const std::string& artFolderReason);
};

// The installer's details for kitloom-cli's report.
extern const InstallerDetails kReportedDetails;

struct PatchInstallOptions {
    // The folder holding `saves` (a path prefix, or empty for the current folder); the
    // patch's own folder when not given. The images always come from the patch's folder.
    std::optional<std::string> gameFolder;
    // When the art folder cannot be made (a game installed elsewhere than the fixed folder
    // says), a folder called render, in any case, in the game folder takes the images in
    // its xteam.
    bool fallBackBesideSaves = false;
    // What a fuller report needs (kReportedDetails): a dry run needs them too, and moves,
    // creates and writes nothing.
    const InstallerDetails* details = nullptr;
    JobOptions job;
    std::function<void(const ImageMove&)> imageMoved;  // told about every image, as it goes
};

struct PatchInstallReport {
    PatchReadResult read = PatchReadResult::CannotOpen;  // nothing else happened unless Read
    std::string artFolder;                               // with its closing separator
    // With the details: the table that was not there (job.namedSave tells whose); then
    // nothing moved.
    std::string missingTable;
    std::vector<ImageMove> images;
    JobReport job;

    // Every image is in the art folder, and is the patch's own.
    bool imagesInPlace() const;
};

// Installs the patch at `patchPath`: moves its two images from the patch's folder into
// `artFolder` (creating the folder's last level when missing) and puts the jersey into
// the save folder its first line names, or into every numbered save. Nothing is touched
// unless the whole patch could be read and holds only plain names.
PatchInstallReport installPatch(const std::string& patchPath, const std::string& artFolder, FileSystem& fileSystem,
                                const PatchInstallOptions& options = {});

}  // namespace kitloom
