#pragma once

#include "jobs/JobStatus.h"
#include "jobs/SystemMessages.h"
#include "patch/PatchFields.h"

#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

// show: what the patch at `patchPath` holds.
struct ShowResult {
    PatchReadResult read = PatchReadResult::CannotOpen;
    std::vector<PatchField> fields;       // when read
    std::vector<SystemMessage> messages;  // why it could not be read
    JobStatus status = JobStatus::Failed;
};
ShowResult showPatch(FileSystem& fileSystem, const std::string& patchPath);

}  // namespace kitloom
