#pragma once

#include "cli/report/ReportLines.h"
#include "jobs/InstallJob.h"

#include <string>
#include <vector>

namespace kitloom::cli {

// A patch or an image as its download holds it: "pack.zip: jerseys/home.jer", or the path
// alone for a lone patch.
std::string inDownload(const std::string& download, const std::string& inner);
// Why a path given to install holds no patch that could be tried.
ReportLines downloadTroubleLines(const DownloadInstall& download);
// Why a patch could not be read out of its archive.
ReportLine patchDamageLine(const PatchInstall& patch);
// A patch none of whose tables changed because an image could not be made ready.
ReportLines refusedLines(const PatchInstallReport& install, bool dryRun);
// A folder's or an archive's closing line: how many of its patches went in, were already
// there, or failed.
ReportLines packClosing(const DownloadInstall& download, const std::vector<PatchInstall>& patches, bool dryRun);
// Why an entry's bytes cannot be trusted, as the words after "ERROR: ".
std::string damageText(const EntryDamage& damage, const std::string& archive, bool isPatch);
// When the folder of a patch whose images are missing is an archive program's copy of it
// alone, or a sandbox's: what to do instead.
ReportLines extractedCopyHint(const std::string& patchFolder);

}  // namespace kitloom::cli
