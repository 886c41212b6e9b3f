#pragma once

#include "jobs/InstallJob.h"
#include "jobs/JobStatus.h"
#include "jobs/SystemMessages.h"
#include "patch/PatchFields.h"

#include <string>
#include <vector>

namespace kitloom {

class FileSystem;
struct JobHooks;

// show: what the patch at `patchPath` holds.
struct ShowResult {
    PatchReadResult read = PatchReadResult::CannotOpen;
    std::vector<PatchField> fields;       // when read
    std::vector<SystemMessage> messages;  // why it could not be read
    EntryDamage damage;                   // why a patch in an archive, or a patch file, could not be read
    JobStatus status = JobStatus::Failed;
};
ShowResult showPatch(FileSystem& fileSystem, const std::string& patchPath);

// One patch of a download shown: what it holds, and where its images are.
struct ShownPatch {
    std::string inner;  // its path within the folder or the archive
    ShowResult show;
    std::vector<std::pair<std::string, ImageSource>> images;  // each name the patch gives, and where it is
};

// show for a folder or a zip: each patch in it, in the order an install takes them.
struct ShowDownloadResult {
    DownloadInstall download;  // its trouble, when it holds no patch to show
    std::vector<ShownPatch> patches;
    JobStatus status = JobStatus::Failed;  // Succeeded when every patch could be read
};
ShowDownloadResult showDownload(FileSystem& fileSystem, const JobHooks& hooks, const std::string& path);

}  // namespace kitloom
