#include "jobs/PackJob.h"

#include "patch/PatchFile.h"
#include "patch/ZipWriter.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/TerminalText.h"
#include "text/Cp1252.h"

#include <algorithm>
#include <memory>

namespace kitloom {

namespace {

// A patch's file name without its folder and its ".jer".
std::string stemOf(const std::string& patchPath)
{
    std::string name = patchPath.substr(folderOfPath(patchPath).size());
    if (name.size() > 4)
        name.resize(name.size() - 4);
    return name;
}

// A patch's image name in the zip: UTF-8, as every zip program reads a name flagged so.
std::string zipName(const std::string& image) { return cp1252ToUtf8(image); }

// A file's own name in the zip: the system's spelling, UTF-8 or the code page's bytes.
std::string zipFileName(const std::string& name) { return systemTextIsUtf8() ? name : cp1252ToUtf8(name); }

// Reads each patch and finds its images; false when one is not whole.
bool readAll(FileSystem& fileSystem, PackResult& result, std::vector<Patch>& patches)
{
    bool whole = true;
    std::vector<std::string> folders;
    for (PackedPatch& packed : result.patches) {
        PatchFile source(fileSystem, packed.patchPath, ImageLookup::AnyCase);
        Patch patch;
        EntryDamage damage;
        packed.read = source.read(patch, damage);
        patches.push_back(patch);
        if (packed.read != PatchReadResult::Read) {
            whole = false;
            continue;
        }
        // Two patches of one name go in folders of their own all the same.
        std::string folder = stemOf(packed.patchPath);
        for (int count = 2; std::find(folders.begin(), folders.end(), folder) != folders.end(); ++count)
            folder = stemOf(packed.patchPath) + "-" + std::to_string(count);
        folders.push_back(folder);
        packed.folder = folder;
        for (std::size_t line = 1; line < patch.lines.size(); ++line) {
            if (patch.lines[line].empty())
                continue;
            const ImageSource image = source.findImage(patch.lines[line]);
            if (image.found == ImageSource::Found::Here) {
                packed.images.push_back(image.path);
            } else {
                packed.missingImages.push_back(patch.lines[line]);
                whole = false;
            }
        }
    }
    return whole;
}

Done writeZip(FileSystem& fileSystem, const PackResult& result, const std::vector<Patch>& patches, OpenFile& out)
{
    ZipWriter zip(out);
    for (std::size_t index = 0; index < result.patches.size(); ++index) {
        const PackedPatch& packed = result.patches[index];
        const std::string folder = zipFileName(packed.folder) + "/";
        Done done;
        const std::unique_ptr<OpenFile> patchFile = fileSystem.openForReading(packed.patchPath).file;
        if (!patchFile)
            return Done::failure(fileSystem.openForReading(packed.patchPath).reason);
        if (!(done = zip.add(folder + zipFileName(packed.folder) + ".jer", *patchFile)))
            return done;
        std::size_t image = 0;
        for (std::size_t line = 1; line < patches[index].lines.size(); ++line) {
            const std::string& name = patches[index].lines[line];
            if (name.empty())
                continue;
            Opened source = fileSystem.openForReading(packed.images[image++]);
            if (!source.file)
                return Done::failure(source.reason);
            if (!(done = zip.add(folder + zipName(name), *source.file)))
                return done;
        }
    }
    return zip.finish();
}

}  // namespace

PackResult packPatches(FileSystem& fileSystem, const PackRequest& request)
{
    PackResult result;
    for (const std::string& path : request.patchPaths)
        result.patches.push_back({path, PatchReadResult::CannotOpen, {}, {}, {}});
    std::vector<Patch> patches;
    if (request.patchPaths.empty() || !readAll(fileSystem, result, patches))
        return result;

    // Written whole beside the zip's name first, so that a pack cut short never takes it.
    std::string temporary;
    Opened out = fileSystem.createTemporaryIn(withClosingSeparator(folderOfPathOrCurrent(request.zipPath)), temporary);
    if (!out.file) {
        result.reason = out.reason;
        return result;
    }
    Done done = writeZip(fileSystem, result, patches, *out.file);
    if (done)
        done = out.file->flush();
    out.file.reset();  // Windows renames no open file
    if (done) {
        MoveDone renamed = fileSystem.renameFile(temporary, request.zipPath);
        if (renamed.result == MoveResult::DestinationExists) {
            result.replaced = true;
            if (succeeded(fileSystem.removeFile(request.zipPath), renamed.reason))
                renamed = fileSystem.renameFile(temporary, request.zipPath);
        }
        if (renamed.result != MoveResult::Moved)
            done = Done::failure(renamed.reason);
    }
    if (!done) {
        fileSystem.removeFile(temporary);
        result.replaced = false;
        result.reason = done.reason();
        return result;
    }
    result.written = true;
    result.status = JobStatus::Succeeded;
    return result;
}

}  // namespace kitloom
