#pragma once

#include "jobs/JobStatus.h"
#include "patch/PatchReader.h"

#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

// pack: the zip a player shares, each patch with its two images in a folder of its own.
struct PackRequest {
    std::vector<std::string> patchPaths;
    std::string zipPath;
};

// One patch of a pack, as it was read.
struct PackedPatch {
    std::string patchPath;
    PatchReadResult read = PatchReadResult::CannotOpen;
    std::string folder;                      // its folder in the zip
    std::vector<std::string> missingImages;  // the names its patch gives, not beside it
    std::vector<std::string> images;         // the image files taken, beside it
};

struct PackResult {
    std::vector<PackedPatch> patches;
    bool written = false;   // nothing is written unless every patch and image is whole
    bool replaced = false;  // a file of that name was there before
    std::string reason;     // the system's words when the zip could not be written
    JobStatus status = JobStatus::Failed;
};

PackResult packPatches(FileSystem& fileSystem, const PackRequest& request);

}  // namespace kitloom
