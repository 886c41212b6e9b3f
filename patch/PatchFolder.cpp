#include "patch/PatchFolder.h"

#include "patch/PatchFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <algorithm>
#include <memory>

namespace kitloom {

namespace {

// The files under a folder given to install, by their paths within it.
struct FolderFiles {
    std::string root;  // a path prefix
    std::vector<std::string> paths;
    bool listed = true;
};

void listFiles(FileSystem& fileSystem, FolderFiles& files, const std::string& inner, int depth)
{
    const std::string folder = files.root + inner;
    const auto names = fileSystem.fileNames(folder);
    const auto folders = fileSystem.folderNames(folder);
    if (!names || !folders) {
        files.listed = files.listed && depth > 0;  // an unreadable subfolder is passed over
        return;
    }
    for (const std::string& name : *names)
        files.paths.push_back(inner + name);
    if (depth == kMaxFolderDepth)
        return;
    for (const std::string& name : *folders)
        listFiles(fileSystem, files, inner + name + "/", depth + 1);
}

// A patch of a folder: its images beside it, or else in the one place of the folder that
// holds a file of that name.
class FolderPatch final : public PatchFile {
public:
    FolderPatch(FileSystem& fileSystem, std::shared_ptr<const FolderFiles> files, const std::string& download,
                const std::string& inner)
        : PatchFile(fileSystem, files->root + inner, ImageLookup::AnyCase, download, inner), files_(std::move(files))
    {
    }

    ImageSource findImage(const std::string& image) override
    {
        ImageSource source = PatchFile::findImage(image);
        if (source.found == ImageSource::Found::Here)
            return source;
        const std::vector<std::string> called = pathsCalled(files_->paths, image, NameSpelling::System);
        if (called.size() == 1) {
            source.found = ImageSource::Found::Here;
            source.path = files_->root + called.front();
        } else if (called.size() > 1) {
            source.found = ImageSource::Found::Several;
            for (const std::string& path : called)
                source.candidates.push_back(files_->root + path);
        }
        return source;
    }

private:
    std::shared_ptr<const FolderFiles> files_;
};

}  // namespace

OpenedDownload openPatchFolder(FileSystem& fileSystem, const std::string& folder)
{
    OpenedDownload download;
    download.kind = DownloadKind::Folder;
    auto files = std::make_shared<FolderFiles>();
    files->root = withClosingSeparator(folder);
    listFiles(fileSystem, *files, "", 0);
    if (!files->listed) {
        download.trouble = DownloadTrouble::CannotOpen;
        return download;
    }
    std::sort(files->paths.begin(), files->paths.end());
    for (const std::string& path : files->paths) {
        if (isPatchName(path))
            download.patches.push_back(std::make_unique<FolderPatch>(fileSystem, files, folder, path));
    }
    if (download.patches.empty())
        download.trouble = DownloadTrouble::NoPatches;
    return download;
}

}  // namespace kitloom
