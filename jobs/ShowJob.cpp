#include "jobs/ShowJob.h"

namespace kitloom {

ShowResult showPatch(FileSystem& fileSystem, const std::string& patchPath)
{
    ShowResult result;
    Patch patch;
    result.read = readPatch(fileSystem, patchPath, patch);
    if (result.read != PatchReadResult::Read) {
        result.messages = {systemMessage(messageFor(result.read))};
        return result;
    }
    result.fields = decodePatch(patch);
    result.status = JobStatus::Succeeded;
    return result;
}

}  // namespace kitloom
