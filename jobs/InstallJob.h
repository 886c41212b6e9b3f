#pragma once

#include "jobs/GamePolicy.h"
#include "jobs/JobStatus.h"
#include "jobs/SystemMessages.h"
#include "patch/PatchInstaller.h"

#include <functional>
#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

// A patch install, from the program's command line or kitloom-cli's.
struct InstallRequest {
    std::string patchPath;
    GamePolicy game;  // the program's: the patch's folder, and the fixed art folder
    JobOptions job;   // a dry run moves, creates and writes nothing
    // What a fuller report needs (kReportedDetails), a dry run too: with them nothing moves
    // unless the jersey has a table to go to. The program moves the images first.
    const InstallerDetails* details = nullptr;
    std::function<void(const ImageMove&)> imageMoved;  // told about every image, as it goes
};

struct InstallResult {
    GameChoice game;
    bool gameDecided = false;             // else nothing was read or touched
    PatchInstallReport install;           // what became of the patch, its images and the saves
    std::vector<SystemMessage> messages;  // what the program shows, in order
    JobStatus status = JobStatus::Failed;
};

// Installs the patch at request.patchPath into the game the policy decides.
InstallResult installJersey(FileSystem& fileSystem, InstallRequest request);

}  // namespace kitloom
