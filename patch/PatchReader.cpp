#include "patch/PatchReader.h"

#include "platform/FileSystem.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <memory>

namespace kitloom {

using namespace patchformat;

namespace {

// Checks the three lines at the patch's start and its trailer, of a patch of `size` bytes.
PatchReadResult checkedPatch(std::string_view start, std::string_view trailer, std::uint64_t size, Patch& patch)
{
    const PatchHeader header = readPatchHeader(start);
    patch.lines = header.lines;
    patch.spec = decodeTrailer(trailer);
    // A download cut short, or padded after its end, puts line bytes or padding where the
    // trailer's codes are looked for: a jersey no form could make.
    if (size < header.bytes + kTrailerSize || !trailerCodesInRange(trailer))
        return PatchReadResult::Invalid;
    // Windows file names cannot hold control characters, so no real patch has them.
    for (const std::string& line : patch.lines) {
        if (hasControlCharacter(line))
            return PatchReadResult::Invalid;
    }
    const std::string& saveFolder = patch.lines[0];
    if (!saveFolder.empty() && !isPlainName(saveFolder))
        return PatchReadResult::Invalid;
    for (std::size_t image = 1; image < kHeaderLines; ++image) {
        if (!patch.lines[image].empty() && !isImageName(patch.lines[image]))
            return PatchReadResult::Invalid;
    }
    return PatchReadResult::Read;
}

// CannotOpen, and the system's words for why, asked again: the program's message tells no
// reason, and its copy keeps the reading as small as it was. Not every system says that a
// path is too long for it: some say it is not there.
PatchReadResult cannotOpen([[maybe_unused]] FileSystem& fileSystem, [[maybe_unused]] const std::string& path,
                           [[maybe_unused]] std::string* reason)
{
#ifndef KITLOOM_PROGRAM_COPY
    if (reason)
        *reason = fileSystem.nameTooLong(path) ? nameTooLongReason() : fileSystem.openForReading(path).reason;
#endif
    return PatchReadResult::CannotOpen;
}

}  // namespace

PatchReadResult readPatch(FileSystem& fileSystem, const std::string& path, Patch& patch, std::string* reason)
{
    const std::unique_ptr<OpenFile> file = fileSystem.openForReading(path).file;
    std::uint64_t size = 0;
    if (!file || !file->size(size))
        return cannotOpen(fileSystem, path, reason);
    if (size < kTrailerSize)
        return PatchReadResult::Invalid;

    std::string start(static_cast<std::size_t>(std::min<std::uint64_t>(size, kHeaderBytesRead)), '\0');
    std::string trailer(kTrailerSize, '\0');
    if (!file->readAt(0, start.data(), start.size()) ||
        !file->readAt(size - kTrailerSize, trailer.data(), trailer.size()))
        return cannotOpen(fileSystem, path, reason);
    return checkedPatch(start, trailer, size, patch);
}

PatchReadResult readPatchBytes(std::string_view bytes, Patch& patch)
{
    if (bytes.size() < kTrailerSize)
        return PatchReadResult::Invalid;
    return checkedPatch(bytes.substr(0, std::min(bytes.size(), kHeaderBytesRead)),
                        bytes.substr(bytes.size() - kTrailerSize), bytes.size(), patch);
}

}  // namespace kitloom
