#include "cli/report/InstallJson.h"

#include "core/JerseySpec.h"
#include "jobs/SystemMessages.h"
#include "text/Cp1252.h"

#include <algorithm>

namespace kitloom::cli {

namespace {

using Json = nlohmann::ordered_json;

const char* kindName(DownloadKind kind)
{
    switch (kind) {
    case DownloadKind::Folder:
        return "folder";
    case DownloadKind::Zip:
        return "zip";
    case DownloadKind::Patch:
        break;
    }
    return "patch";
}

const char* statusName(JobStatus status)
{
    switch (status) {
    case JobStatus::Succeeded:
        return "succeeded";
    case JobStatus::Stopped:
        return "stopped";
    case JobStatus::Failed:
        break;
    }
    return "failed";
}

Json tableJson(const TableReport& table)
{
    Json shown = {{"path", table.tablePath}};
    if (table.result == ResultCode::Appended)
        shown["added"] = table.recordNumber;
    else if (table.result == ResultCode::AlreadyThere)
        shown["alreadyThere"] = table.recordNumber;
    else
        shown["error"] = systemMessage(messageFor(table.result)).text;
    return shown;
}

Json imageJson(const ImageMove& move)
{
    Json shown = {{"image", cp1252ToUtf8(move.image)}, {"from", move.from}, {"to", move.to}};
    if (!move.archive.empty())
        shown["archive"] = move.archive;
    shown["inArtFolder"] = move.inArtFolder && !move.otherImageThere && !move.withdrawn;
    return shown;
}

Json patchJson(const PatchInstall& patch)
{
    const PatchInstallReport& install = patch.install;
    Json shown = {{"patch", patch.inner.empty() ? patch.patchPath : patch.inner}, {"status", statusName(patch.status)}};
    if (install.read == PatchReadResult::Read) {
        const JerseySpec& jersey = install.jersey;
        const std::string name(jersey.jerseyName.data(),
                               std::find(jersey.jerseyName.begin(), jersey.jerseyName.end(), '\0'));
        const std::string year(jersey.year.data(), std::find(jersey.year.begin(), jersey.year.end(), '\0'));
        shown["jersey"] = {{"name", cp1252ToUtf8(name)}, {"year", cp1252ToUtf8(year)}};
    }
    Json tables = Json::array();
    for (const TableReport& table : install.job.tables)
        tables.push_back(tableJson(table));
    Json images = Json::array();
    for (const ImageMove& move : install.images)
        images.push_back(imageJson(move));
    shown["tables"] = tables;
    shown["images"] = images;
    // Whole or nothing: an image could not go in, so no table changed.
    shown["refused"] = install.refused;
    return shown;
}

}  // namespace

Json installJson(const InstallResult& result, bool dryRun)
{
    Json downloads = Json::array();
    for (const DownloadInstall& download : result.downloads) {
        Json patches = Json::array();
        for (std::size_t index = download.firstPatch; index < download.firstPatch + download.patchCount; ++index)
            patches.push_back(patchJson(result.patches[index]));
        Json shown = {{"path", download.path}, {"kind", kindName(download.kind)}, {"patches", patches}};
        if (download.trouble != DownloadTrouble::None)
            shown["installable"] = false;
        downloads.push_back(shown);
    }
    return {{"dryRun", dryRun}, {"status", statusName(result.status)}, {"downloads", downloads}};
}

}  // namespace kitloom::cli
