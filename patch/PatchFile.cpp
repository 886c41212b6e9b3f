#include "patch/PatchFile.h"

#include "patch/PatchInstaller.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/TerminalText.h"
#include "text/Cp1252.h"

#include <memory>

namespace kitloom {

PatchFile::PatchFile(FileSystem& fileSystem, const std::string& path, ImageLookup lookup, std::string download,
                     std::string inner)
    : PatchSource(download.empty() ? path : std::move(download), std::move(inner)), fileSystem_(fileSystem),
      // Joined to image names, a path padded with "./" segments could pass the system's
      // path limit where the short path it stands for does not.
      file_(fileSystem.fullPath(path)), folder_(folderOfPath(file_)), lookup_(lookup)
{
}

PatchReadResult PatchFile::read(Patch& patch, EntryDamage& damage)
{
#ifdef KITLOOM_PROGRAM_COPY
    // The program's message says no more than that.
    (void)damage;
    return readPatchToInstall(fileSystem_, file_, patch);
#else
    return readPatchToInstall(fileSystem_, file_, patch, &damage.reason);
#endif
}

ImageSource PatchFile::findImage(const std::string& image)
{
    ImageSource source;
    // Where it was looked for first, spelt as this system's folders spell it.
    source.path = folder_ + artFolderName(image);
    std::optional<std::string> name;
    if (lookup_ == ImageLookup::AnyCase) {
        name = fileSystem_.fileNamed(folder_, image);
        if (!name && !isAscii(image) && systemTextIsUtf8())
            name = fileSystem_.fileNamed(folder_, cp1252ToUtf8(image));
    } else if (fileSystem_.kindOf(folder_ + image) == EntryKind::RegularFile) {
        name = image;
    }
    if (name) {
        source.found = ImageSource::Found::Here;
        source.path = folder_ + *name;
    }
    return source;
}

Done PatchFile::readImage(const ImageSource& image, const ByteSink& sink, EntryDamage& damage)
{
#ifdef KITLOOM_PROGRAM_COPY
    // The program moves its images whole and never reads one.
    (void)image, (void)sink, (void)damage;
    return Done::failure({});
#else
    Opened opened = fileSystem_.openForReading(image.path);
    std::uint64_t size = 0;
    Done done = opened.file ? opened.file->size(size) : Done::failure(opened.reason);
    std::string buffer(kChunkSize, '\0');
    if (done)
        forEachChunk(size, [&](std::uint64_t offset, std::size_t count) {
            done = opened.file->readAt(offset, buffer.data(), count);
            return done && sink(buffer.data(), count);
        });
    if (!done) {
        damage.trouble = EntryTrouble::CannotRead;
        damage.entry = image.path;
        damage.reason = done.reason();
    }
    return done;
#endif
}

std::string artFolderName(const std::string& image)
{
    return isAscii(image) || !systemTextIsUtf8() ? image : cp1252ToUtf8(image);
}

}  // namespace kitloom
