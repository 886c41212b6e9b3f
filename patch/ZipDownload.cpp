#include "patch/ZipDownload.h"

#include "patch/ZipReader.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "text/Cp1252.h"

#include <algorithm>
#include <map>

namespace kitloom {

namespace {

EntryTrouble entryTroubleOf(ZipTrouble trouble)
{
    switch (trouble) {
    case ZipTrouble::None:
        return EntryTrouble::None;
    case ZipTrouble::Incomplete:
        return EntryTrouble::Incomplete;
    case ZipTrouble::Encrypted:
        return EntryTrouble::Encrypted;
    case ZipTrouble::UnsupportedMethod:
        return EntryTrouble::UnsupportedMethod;
    case ZipTrouble::EntryTooLarge:
        return EntryTrouble::TooLarge;
    case ZipTrouble::ArchiveTooLarge:
    case ZipTrouble::TooManyEntries:
        return EntryTrouble::ArchiveTooLarge;
    case ZipTrouble::CrcMismatch:
        return EntryTrouble::CrcMismatch;
    case ZipTrouble::SizeMismatch:
        return EntryTrouble::SizeMismatch;
    case ZipTrouble::CannotRead:
    case ZipTrouble::Stopped:
        return EntryTrouble::CannotRead;
    case ZipTrouble::NotAZip:
    case ZipTrouble::Split:
    case ZipTrouble::Damaged:
        break;
    }
    return EntryTrouble::Damaged;
}

void tellDamage(const ZipProblem& problem, const ZipEntry& entry, EntryDamage& damage)
{
    damage.trouble = entryTroubleOf(problem.trouble);
    damage.entry = entry.name;
    damage.method = problem.method ? problem.method : entry.method;
    damage.reason = problem.reason;
}

// The archive's files, shared by its patches.
struct ZipFiles {
    explicit ZipFiles(std::unique_ptr<OpenFile> file) : reader(std::move(file)) {}
    ZipReader reader;
    std::vector<std::string> paths;                 // every file's name, in the directory's order
    std::map<std::string, const ZipEntry*> byPath;  // the first entry of each name
};

class ZipPatch final : public PatchSource {
public:
    ZipPatch(std::shared_ptr<ZipFiles> files, const std::string& path, std::string folder, const ZipEntry& entry)
        : PatchSource(path, entry.name), files_(std::move(files)), folder_(std::move(folder)), entry_(entry)
    {
    }

    std::string gameFolderHint() override { return folder_; }

    PatchReadResult read(Patch& patch, EntryDamage& damage) override
    {
        std::string bytes;
        const ZipProblem problem = files_->reader.readWhole(entry_, kMaxPatchEntry, bytes);
        if (problem) {
            tellDamage(problem, entry_, damage);
            return PatchReadResult::CannotOpen;
        }
        return readPatchBytes(bytes, patch);
    }

    ImageSource findImage(const std::string& image) override
    {
        ImageSource source;
        const std::string ownFolder = innerFolderOf(entry_.name);
        source.path = ownFolder + cp1252ToUtf8(image);  // a zip's names are UTF-8
        const std::vector<std::string> called = pathsCalled(files_->paths, image, NameSpelling::Utf8);
        const auto beside = std::find_if(called.begin(), called.end(),
                                         [&](const std::string& path) { return innerFolderOf(path) == ownFolder; });
        if (beside != called.end() || called.size() == 1) {
            source.found = ImageSource::Found::Here;
            source.path = beside != called.end() ? *beside : called.front();
        } else if (called.size() > 1) {
            source.found = ImageSource::Found::Several;
            source.candidates = called;
        }
        return source;
    }

    Done readImage(const ImageSource& image, const ByteSink& sink, EntryDamage& damage) override
    {
        const auto entry = files_->byPath.find(image.path);
        if (entry == files_->byPath.end())
            return Done::failure({});
        const ZipProblem problem = files_->reader.read(*entry->second, kMaxImageEntry, sink);
        if (!problem)
            return Done();
        if (problem.trouble == ZipTrouble::Stopped)
            return Done();  // the sink had its reason
        tellDamage(problem, *entry->second, damage);
        return Done::failure(problem.reason);
    }

    bool movesImages() const override { return false; }

private:
    std::shared_ptr<ZipFiles> files_;
    std::string folder_;
    const ZipEntry& entry_;
};

DownloadTrouble downloadTroubleOf(ZipTrouble trouble)
{
    switch (trouble) {
    case ZipTrouble::None:
        return DownloadTrouble::None;
    case ZipTrouble::NotAZip:
        return DownloadTrouble::NotAZip;
    case ZipTrouble::Split:
        return DownloadTrouble::Split;
    case ZipTrouble::TooManyEntries:
        return DownloadTrouble::TooManyEntries;
    case ZipTrouble::CannotRead:
        return DownloadTrouble::CannotOpen;
    default:
        break;
    }
    return DownloadTrouble::Incomplete;
}

}  // namespace

OpenedDownload openZipDownload(FileSystem& fileSystem, const std::string& path, std::unique_ptr<OpenFile> file)
{
    OpenedDownload download;
    download.kind = DownloadKind::Zip;
    auto files = std::make_shared<ZipFiles>(std::move(file));
    if (const ZipProblem& problem = files->reader.problem()) {
        download.trouble = downloadTroubleOf(problem.trouble);
        download.reason = problem.reason;
        return download;
    }
    std::vector<const ZipEntry*> patches;
    for (const ZipEntry& entry : files->reader.entries()) {
        if (entry.folder)
            continue;
        files->paths.push_back(entry.name);
        files->byPath.emplace(entry.name, &entry);
        if (isPatchName(entry.name))
            patches.push_back(&entry);
    }
    std::sort(patches.begin(), patches.end(), [](const ZipEntry* a, const ZipEntry* b) { return a->name < b->name; });
    const std::string folder = folderOfPath(fileSystem.fullPath(path));
    for (const ZipEntry* entry : patches)
        download.patches.push_back(std::make_unique<ZipPatch>(files, path, folder, *entry));
    if (download.patches.empty())
        download.trouble = DownloadTrouble::NoPatches;
    return download;
}

}  // namespace kitloom
