#pragma once

#include "core/SweepReport.h"
#include "patch/PatchReader.h"
#include "patch/PatchSource.h"
#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace kitloom {

// Why an image is not in the art folder after its move.
enum class ImageTrouble {
    None,
    NotBesidePatch,     // no file of that name beside the patch, nor anywhere else in its download
    SeveralFound,       // not beside the patch, but in several places of its download
    Damaged,            // its bytes in the download cannot be trusted: `damage` says why
    NoArtFolder,        // the art folder could not be made
    ArtFolderReadOnly,  // the art folder is there, but this user may not write in it
    NotAFileThere,      // a folder or a device of that name is in the art folder
    PathTooLongBeside,  // the system refuses its path beside the patch for its length
    PathTooLongThere,   // the system refuses its path in the art folder for its length
    MoveFailed,         // the system refused the move (a full disk, say)
};

// One of the patch's images on its way into the art folder; in a dry run, `result` is
// what the move would give.
struct ImageMove {
    std::string image;    // as the patch names it
    std::string from;     // a file, or an entry of `archive`
    std::string archive;  // the archive the image is copied out of, if any
    std::string to;
    MoveResult result = MoveResult::Failed;
    // After the move (or, in a dry run, after the move it foresees): a file of that name is
    // in the art folder. A reinstall finds its images already there, which is fine.
    bool inArtFolder = false;
    // The art folder held an image of that name already, with other bytes: another jersey's.
    // Both stay.
    bool otherImageThere = false;
    ImageTrouble trouble = ImageTrouble::None;  // when not inArtFolder
    // Moved across volumes, but the image beside the patch could not be removed: it is in
    // both places, and `reason` says why it stayed.
    bool sourceKept = false;
    std::string reason;                   // the system's words for NoArtFolder, MoveFailed or sourceKept, if any
    std::vector<std::string> candidates;  // SeveralFound: where the files of that name are
    EntryDamage damage;                   // Damaged
    // Made ready before any table changed: the temporary in the art folder holding the image
    // until the jersey is in its tables. Empty once it took its name, or went.
    std::string staged;
    // Ready, but taken back because the patch could not go in whole.
    bool withdrawn = false;
#ifndef KITLOOM_PROGRAM_COPY
    // The art folder's image of that name, with other bytes, goes here before this one takes
    // its place (once placed: went there). The program never replaces an image.
    std::string replacedKeptAs;
#endif
};

// What became of a patch install.
struct PatchInstallReport {
    PatchReadResult read = PatchReadResult::CannotOpen;  // nothing else happened unless Read
    JerseySpec jersey;                                   // Read: the patch's jersey
    std::string artFolder;                               // with its closing separator
    // With a look ahead: the table that was not there (job.namedSave tells whose); then
    // nothing moved.
    std::string missingTable;
    std::vector<ImageMove> images;
    // Whole or nothing: an image could not be made ready in the art folder, so no table was
    // changed and nothing moved.
    bool refused = false;
    EntryDamage damage;  // why the patch itself could not be read out of its archive
    SweepReport job;

    // Every image is in the art folder, and is the patch's own.
    bool imagesInPlace() const;
};

// Reads the patch at `patchFile` (a full path) for an install: Invalid, too, when an image
// it names beside it is anything but a file, since a move takes folders and links along as
// readily as files.
// CannotOpen: `reason`, when given, receives the system's words for why.
PatchReadResult readPatchToInstall(FileSystem& fileSystem, const std::string& patchFile, Patch& patch,
                                   std::string* reason = nullptr);

// Moves the image at `from` into the art folder (`artFolder` with its closing separator)
// under the name the patch gives it, `image`, never over one there.
ImageMove moveImage(FileSystem& fileSystem, const std::string& from, const std::string& image,
                    const std::string& artFolder);

}  // namespace kitloom
