#pragma once

#include "patch/PatchReader.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kitloom {

// What keeps bytes read from a download from being trusted, beyond the system's words.
enum class EntryTrouble {
    None,
    Incomplete,         // the download was cut short: the entry reaches past its end
    Encrypted,          // it needs its password
    UnsupportedMethod,  // compressed some other way than stored or deflate
    TooLarge,           // larger than any jersey patch or image is
    ArchiveTooLarge,    // the archive inflates to more than any pack of jerseys
    CrcMismatch,        // its bytes are not the ones it was packed with
    SizeMismatch,       // it inflates to another size than it states
    Damaged,            // its records or its deflated bytes do not hold together
    CannotRead,         // the system refused: `reason` says why
};

// One entry of a download that could not be read whole and checked.
struct EntryDamage {
    EntryTrouble trouble = EntryTrouble::None;
    std::string entry;         // its path within the download
    std::uint16_t method = 0;  // UnsupportedMethod: the archive's number for it
    // CannotRead: the system's words; with no trouble, why a patch file itself could not be
    // opened (its read is CannotOpen).
    std::string reason;
    explicit operator bool() const { return trouble != EntryTrouble::None; }
};

// Where a patch's image is in its download.
struct ImageSource {
    enum class Found { Here, Missing, Several };
    Found found = Found::Missing;
    // Here: a file's path, or an entry's path within an archive. Missing: where it was
    // looked for first, beside the patch.
    std::string path;
    std::vector<std::string> candidates;  // Several: every place a file of that name is
};

// Receives an image's bytes in order, piece by piece; false stops the reading.
using ByteSink = std::function<bool(const char* bytes, std::size_t count)>;

// One patch as a download holds it: a lone .jer, one in a folder of patches, or one in a zip
// archive. It reads the patch and finds and reads its images; what happens to them is the
// install's.
class PatchSource {
public:
    PatchSource(std::string download, std::string inner) : download_(std::move(download)), inner_(std::move(inner)) {}
    PatchSource(const PatchSource&) = delete;
    PatchSource& operator=(const PatchSource&) = delete;
    virtual ~PatchSource() = default;

    // The patch, a folder or an archive as it was named; and the patch's path within the
    // folder or archive ('/' separated), empty for a lone patch.
    const std::string& download() const { return download_; }
    const std::string& inner() const { return inner_; }

    // The folder a patch among the saves names as its game: the patch's own, or the one an
    // archive lies in (a path prefix).
    virtual std::string gameFolderHint() = 0;
    // Reads the whole patch; Invalid, too, for an image name that stands for anything but a
    // file. `damage` tells why an archive's patch could not be read, or a patch file opened.
    virtual PatchReadResult read(Patch& patch, EntryDamage& damage) = 0;
    virtual ImageSource findImage(const std::string& image) = 0;
    // Gives the found image's bytes to `sink`, checked on the way where the download can
    // be; `damage` tells why they are not all to be trusted.
    virtual Done readImage(const ImageSource& image, const ByteSink& sink, EntryDamage& damage) = 0;
    // An image found in a folder leaves it for the art folder; an archive is never changed.
    virtual bool movesImages() const = 0;

private:
    std::string download_;
    std::string inner_;
};

}  // namespace kitloom
