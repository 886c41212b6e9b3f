#include "patch/OpenDownload.h"

#include "patch/ArchiveKind.h"
#include "patch/PatchFile.h"
#include "patch/PatchFolder.h"
#include "patch/ZipDownload.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "text/AsciiCase.h"

#include <algorithm>

namespace kitloom {

namespace {

const char* archiveName(ArchiveKind kind)
{
    switch (kind) {
    case ArchiveKind::SevenZip:
        return "7z";
    case ArchiveKind::Rar:
        return "rar";
    case ArchiveKind::Tar:
        return "tar";
    case ArchiveKind::Gzip:
        return "gzip";
    case ArchiveKind::Bzip2:
        return "bzip2";
    case ArchiveKind::Xz:
        return "xz";
    case ArchiveKind::Zip:
    case ArchiveKind::Unknown:
        break;
    }
    return "";
}

OpenedDownload lonePatch(FileSystem& fileSystem, const std::string& path)
{
    OpenedDownload download;
    download.patches.push_back(std::make_unique<PatchFile>(fileSystem, path, ImageLookup::AnyCase));
    return download;
}

}  // namespace

OpenedDownload openDownload(FileSystem& fileSystem, const std::string& path)
{
    if (fileSystem.kindOf(path) == EntryKind::Other && fileSystem.fileNames(withClosingSeparator(path)))
        return openPatchFolder(fileSystem, path);
    Opened opened = fileSystem.openForReading(path);
    std::uint64_t size = 0;
    if (!opened.file || !opened.file->size(size))
        return lonePatch(fileSystem, path);  // its reading says why
    std::string start(static_cast<std::size_t>(std::min<std::uint64_t>(size, kArchiveSniffBytes)), '\0');
    if (!opened.file->readAt(0, start.data(), start.size()))
        return lonePatch(fileSystem, path);
    const ArchiveKind kind = archiveKindOf(start);
    if (kind == ArchiveKind::Zip)
        return openZipDownload(fileSystem, path, std::move(opened.file));
    OpenedDownload download;
    download.kind = DownloadKind::Zip;
    if (kind != ArchiveKind::Unknown) {
        download.trouble = DownloadTrouble::OtherArchive;
        download.archive = archiveName(kind);
        return download;
    }
    if (endsWithIgnoringAsciiCase(path, ".zip")) {
        download.trouble = DownloadTrouble::NotAZip;
        return download;
    }
    return lonePatch(fileSystem, path);
}

}  // namespace kitloom
