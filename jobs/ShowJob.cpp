#include "jobs/ShowJob.h"

#include "jobs/JobHooks.h"

namespace kitloom {

ShowResult showPatch(FileSystem& fileSystem, const std::string& patchPath)
{
    ShowResult result;
    Patch patch;
    result.read = readPatch(fileSystem, patchPath, patch, &result.damage.reason);
    if (result.read != PatchReadResult::Read) {
        result.messages = {systemMessage(messageFor(result.read))};
        return result;
    }
    result.fields = decodePatch(patch);
    result.status = JobStatus::Succeeded;
    return result;
}

ShowDownloadResult showDownload(FileSystem& fileSystem, const JobHooks& hooks, const std::string& path)
{
    ShowDownloadResult result;
    OpenedDownload opened = hooks.openDownload(fileSystem, path);
    result.download = {path, opened.kind, opened.trouble, opened.archive, opened.reason, 0, opened.patches.size()};
    result.status = opened.trouble == DownloadTrouble::None ? JobStatus::Succeeded : JobStatus::Failed;
    for (const auto& source : opened.patches) {
        ShownPatch shown;
        shown.inner = source->inner();
        Patch patch;
        shown.show.read = source->read(patch, shown.show.damage);
        if (shown.show.read == PatchReadResult::Read) {
            shown.show.fields = decodePatch(patch);
            shown.show.status = JobStatus::Succeeded;
            for (std::size_t line = 1; line < patch.lines.size(); ++line) {
                if (!patch.lines[line].empty())
                    shown.images.emplace_back(patch.lines[line], source->findImage(patch.lines[line]));
            }
        } else {
            shown.show.messages = {systemMessage(messageFor(shown.show.read))};
        }
        if (shown.show.status != JobStatus::Succeeded)
            result.status = JobStatus::Failed;
        result.patches.push_back(std::move(shown));
    }
    return result;
}

}  // namespace kitloom
