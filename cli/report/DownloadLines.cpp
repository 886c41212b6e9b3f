#include "cli/report/DownloadLines.h"

#include "patch/ExtractedCopy.h"
#include "patch/PatchFolder.h"
#include "patch/ZipDownload.h"
#include "patch/ZipEntry.h"
#include "platform/Paths.h"
#include "text/TerminalEscape.h"

#include <algorithm>

namespace kitloom::cli {

namespace {

std::string methodName(std::uint16_t method)
{
    switch (method) {
    case 9:
        return " (Deflate64)";
    case 12:
        return " (bzip2)";
    case 14:
        return " (LZMA)";
    case 93:
        return " (Zstandard)";
    case 95:
        return " (xz)";
    case 98:
        return " (PPMd)";
    default:
        return "";
    }
}

const char* extractedByName(ExtractedBy by)
{
    switch (by) {
    case ExtractedBy::WindowsExplorer:
        return "Windows Explorer";
    case ExtractedBy::SevenZip:
        return "7-Zip";
    case ExtractedBy::WinRar:
        return "WinRAR";
    case ExtractedBy::FileRoller:
        return "the archive manager";
    case ExtractedBy::Ark:
        return "Ark";
    case ExtractedBy::DesktopPortal:
    case ExtractedBy::None:
        break;
    }
    return "";
}

std::string counted(std::size_t count, const char* one, const char* several)
{
    return std::to_string(count) + (count == 1 ? one : several);
}

}  // namespace

std::string inDownload(const std::string& download, const std::string& inner)
{
    return inner.empty() ? escapedText(download) : escapedText(download) + ": " + escapedText(inner);
}

ReportLines downloadTroubleLines(const DownloadInstall& download)
{
    const std::string path = escapedText(download.path);
    switch (download.trouble) {
    case DownloadTrouble::None:
        return {};
    case DownloadTrouble::CannotOpen:
        return {{Tone::Error, path + " could not be read" +
                                  (download.reason.empty() ? std::string() : " (" + download.reason + ")")}};
    case DownloadTrouble::OtherArchive:
        return {{Tone::Error, path + " is a " + download.archive +
                                  " archive: Kitloom reads zip archives; unpack it and install the folder"}};
    case DownloadTrouble::NotAZip:
        return {{Tone::Error, path + " is not a zip archive, whatever its name says: the download may be broken; "
                                     "download it again, or install the patch (.jer) itself"}};
    case DownloadTrouble::Incomplete:
        return {{Tone::Error, path + ": the download is damaged or incomplete (its zip directory is missing or cut "
                                     "short); download it again"}};
    case DownloadTrouble::Split:
        return {{Tone::Error, path + " is one part of a zip archive split over several files: unpack all its parts "
                                     "with an archive program, and install the folder"}};
    case DownloadTrouble::TooManyEntries:
        return {{Tone::Error, path + " holds more than " + std::to_string(kMaxZipEntries) +
                                  " entries, far more than any pack of jerseys: unpack it and install the folder"}};
    case DownloadTrouble::NoPatches:
        if (download.kind == DownloadKind::Folder)
            return {{Tone::Error, path + " holds no jersey patch (.jer), " + std::to_string(kMaxFolderDepth) +
                                      " folders down at most"}};
        return {{Tone::Error, path + " holds no jersey patch (.jer)"}};
    }
    return {};
}

std::string damageText(const EntryDamage& damage, const std::string& archive, bool isPatch)
{
    const std::string entry = inDownload(archive, damage.entry);
    switch (damage.trouble) {
    case EntryTrouble::None:
        break;
    case EntryTrouble::Incomplete:
        return "the download is damaged or incomplete: " + entry + " reaches past its end; download it again";
    case EntryTrouble::Encrypted:
        return entry + " is encrypted: unpack the archive with its password first, then install the folder";
    case EntryTrouble::UnsupportedMethod:
        return entry + " is compressed with method " + std::to_string(damage.method) + methodName(damage.method) +
               ", which Kitloom does not read: unpack the archive with an archive program, then install the folder";
    case EntryTrouble::TooLarge:
        return entry +
               (isPatch
                    ? " is larger than any jersey patch (" + std::to_string(kMaxPatchEntry / 1024) + " KiB)"
                    : " is larger than any jersey image (" + std::to_string(kMaxImageEntry / (1024 * 1024)) + " MiB)") +
               ", so it is not read";
    case EntryTrouble::ArchiveTooLarge:
        return escapedText(archive) +
               " inflates to more than any pack of jerseys (1 GiB), so it is read no further: unpack it and install "
               "the folder";
    case EntryTrouble::CrcMismatch:
        return "the download is damaged: CRC mismatch in " + entry + "; download it again";
    case EntryTrouble::SizeMismatch:
        return "the download is damaged: " + entry + " is not the size its archive states; download it again";
    case EntryTrouble::Damaged:
        return "the download is damaged: " + entry + " does not inflate" +
               (damage.reason.empty() ? std::string() : " (" + damage.reason + ")") + "; download it again";
    case EntryTrouble::CannotRead:
        return entry + " could not be read" + (damage.reason.empty() ? std::string() : " (" + damage.reason + ")");
    }
    return entry;
}

ReportLine patchDamageLine(const PatchInstall& patch)
{
    return {Tone::Error, damageText(patch.install.damage, patch.patchPath, true) + ": nothing of it was installed"};
}

ReportLines refusedLines(const PatchInstallReport& install, bool dryRun)
{
    const bool damaged = std::any_of(install.images.begin(), install.images.end(),
                                     [](const ImageMove& move) { return static_cast<bool>(move.damage); });
    ReportLines lines;
    std::string nothing = dryRun ? "Nothing would be installed" : "Nothing was installed";
    if (damaged) {
        lines.push_back({Tone::Error, nothing + ": the patch's download is damaged, as the ERROR lines above say", true});
        return lines;
    }
    lines.push_back({Tone::Error,
                     nothing + ": the jersey goes in only with both its images, and the ERROR lines above say why "
                               "one cannot go to the art folder",
                     true});
    const bool updated = std::any_of(install.images.begin(), install.images.end(),
                                     [](const ImageMove& move) { return move.otherImageThere; });
    if (updated) {
        lines.push_back({Tone::Hint,
                         "an updated jersey's images go over the old ones with --replace-images, which "
                         "keeps the old ones in the journal, so that 'kitloom-cli undo' brings them back"});
        return lines;
    }
    const bool missing = std::any_of(install.images.begin(), install.images.end(), [](const ImageMove& move) {
        return move.trouble == ImageTrouble::NotBesidePatch || move.trouble == ImageTrouble::SeveralFound;
    });
    lines.push_back({Tone::Hint, std::string(missing ? "put the images beside the patch and install it again"
                                                     : "mend what the ERROR lines say and install it again") +
                                     ", or add --images-later to install the jersey now and copy its images into "
                                     "the art folder by hand"});
    return lines;
}

ReportLines packClosing(const DownloadInstall& download, const std::vector<PatchInstall>& patches, bool dryRun)
{
    if (download.kind == DownloadKind::Patch || download.trouble != DownloadTrouble::None)
        return {};
    std::size_t wentIn = 0;
    std::size_t there = 0;
    std::size_t failed = 0;
    for (std::size_t index = download.firstPatch; index < download.firstPatch + download.patchCount; ++index) {
        const PatchInstall& patch = patches[index];
        const auto& tables = patch.install.job.tables;
        const bool added = std::any_of(tables.begin(), tables.end(),
                                       [](const TableReport& table) { return table.result == ResultCode::Appended; });
        if (patch.status != JobStatus::Succeeded)
            ++failed;
        else if (added)
            ++wentIn;
        else
            ++there;
    }
    const std::string text = escapedText(download.path) + ": " + counted(download.patchCount, " patch", " patches") +
                             ", " + std::to_string(wentIn) + (dryRun ? " would go in, " : " went in, ") +
                             std::to_string(there) + (there == 1 ? " was" : " were") + " already there, " +
                             std::to_string(failed) + (dryRun ? " would fail" : " failed");
    return {{failed > 0 ? Tone::Error : Tone::Success, text}};
}

ReportLines extractedCopyHint(const std::string& patchFolder)
{
    const ExtractedBy by = extractedCopyFolder(patchFolder);
    if (by == ExtractedBy::None)
        return {};
    if (by == ExtractedBy::DesktopPortal)
        return {{Tone::Hint, "the patch was handed over by the desktop portal, alone in " +
                                 escapedText(withoutClosingSeparator(patchFolder)) +
                                 ": install it from its own folder, or install the zip it came in"}};
    return {{Tone::Hint, std::string("the patch was opened from inside an archive, so ") + extractedByName(by) +
                             " copied it alone to " + escapedText(withoutClosingSeparator(patchFolder)) +
                             ": install the zip itself with Kitloom, or unpack the whole zip first and install the "
                             "folder"}};
}

}  // namespace kitloom::cli
