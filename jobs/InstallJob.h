#pragma once

#include "core/TableWitness.h"
#include "jobs/GameDecision.h"
#include "jobs/JobStatus.h"
#include "jobs/SystemMessages.h"
#include "patch/PatchInstaller.h"

#include <optional>
#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

// How one patch goes into a game.
struct PatchInstallOptions {
    // The folder holding `saves` (a path prefix, or empty for the current folder); the
    // patch's own folder when not given. The images always come from the patch's folder.
    std::optional<std::string> gameFolder;
    // When the art folder cannot be made (a game installed elsewhere than the fixed folder
    // says), a folder called render, in any case, in the game folder takes the images in
    // its xteam.
    bool fallBackBesideSaves = false;
    bool dryRun = false;  // needs the hooks' look ahead; moves, creates and writes nothing
    bool again = false;   // a save that holds the jersey gets it again
    // Whole or nothing aside: the jersey goes into the tables even when an image cannot be
    // made ready, for a player who will copy the images by hand. A damaged download still
    // changes nothing.
    bool imagesLater = false;
    TableWitness* witness = nullptr;  // sees every table before and after it changes
#ifndef KITLOOM_PROGRAM_COPY
    // Where an image of the same name but other bytes is kept when the patch's replaces it
    // (a path prefix the image's name completes); empty: both are kept, the patch's refused.
    std::string replacedImagesPrefix;
#endif
};

// Installs the patch `source` holds: moves its two images into `artFolder` (creating the
// folder's last level when missing) and puts the jersey into the save folder its first line
// names, or into every numbered save. Nothing is touched unless the whole patch could be
// read and holds only plain names.
PatchInstallReport installPatch(FileSystem& fileSystem, const JobHooks& hooks, JobObserver* observer,
                                PatchSource& source, const std::string& artFolder,
                                const PatchInstallOptions& options = {});
// The same for the lone patch at `patchPath`, its images beside it.
PatchInstallReport installPatch(FileSystem& fileSystem, const JobHooks& hooks, JobObserver* observer,
                                const std::string& patchPath, const std::string& artFolder,
                                const PatchInstallOptions& options = {});

// A patch install, from the program's command line or kitloom-cli's: each patch in turn.
struct InstallRequest {
    std::vector<std::string> patchPaths;
    GamePolicy game;  // the program's: the patch's folder, and the fixed art folder
    bool dryRun = false;
    bool again = false;
    bool imagesLater = false;
    const JobHooks* hooks = nullptr;  // the program's or kitloom-cli's: never null
    JobObserver* observer = nullptr;
    TableWitness* witness = nullptr;
#ifndef KITLOOM_PROGRAM_COPY
    std::string replacedImagesPrefix;  // as PatchInstallOptions has it
#endif
};

// What became of one patch.
struct PatchInstall {
    std::string patchPath;  // the download it came in
    std::string inner;      // its path within a folder or an archive; empty for a lone patch
    GameChoice game;
    // The game was told to the observer with this patch. It is told until one patch's game
    // came from a search or the player, or none could be used: later ones go unsaid.
    bool gameTold = false;
    PatchInstallReport install;           // when the game was decided
    std::vector<SystemMessage> messages;  // what the program shows, in order
    JobStatus status = JobStatus::Failed;
};

// What became of one path given to install.
struct DownloadInstall {
    std::string path;
    DownloadKind kind = DownloadKind::Patch;
    DownloadTrouble trouble = DownloadTrouble::None;  // none of its patches was tried
    std::string archive;                              // OtherArchive: which
    std::string reason;                               // CannotOpen: the system's words
    std::size_t firstPatch = 0;                       // its patches in InstallResult::patches
    std::size_t patchCount = 0;
};

struct InstallResult {
    std::vector<DownloadInstall> downloads;  // in order
    std::vector<PatchInstall> patches;       // in order; after a stop, the last is the one stopped
    JobStatus status = JobStatus::Failed;    // Succeeded when every patch did
};

InstallResult installJerseys(FileSystem& fileSystem, const InstallRequest& request);

}  // namespace kitloom
