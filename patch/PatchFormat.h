#pragma once

#include "core/JerseyFields.h"
#include "core/JerseySpec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A jersey patch (.jer): three text lines (save folder, first image, second image), each
// ended by CR LF, then a 39-byte trailer found by counting back from the end of the file.
namespace kitloom::patchformat {

inline constexpr const char* kExtension = ".jer";
inline constexpr const char* kImageSuffix = ".fsh";
inline constexpr const char* kNumberImageSuffix = "_num.fsh";

inline constexpr std::size_t kPrefixLength = 2;
inline constexpr std::size_t kMaxFileStemLength = 75;  // "Patch file created: " + stem + ".jer" fits 99
// A patch's file name without ".jer": 1 to kMaxFileStemLength characters.
inline bool fileStemFits(const std::string& stem) { return !stem.empty() && stem.size() <= kMaxFileStemLength; }
inline constexpr std::size_t kMaxLineRead = 79;  // a longer line goes on in the next read
inline constexpr std::size_t kHeaderLines = 3;

// The trailer: each field of the jersey but its record number, where kJerseyFields places it.
// The year takes 7 bytes, so every number after it starts at an odd offset.
inline constexpr std::size_t kTrailerSize = 39;

// The trailer's fields follow one another in the table's order and fill it exactly.
static_assert([] {
    std::size_t end = 0;
    for (const JerseyField& field : kJerseyFields) {
        if (field.inTrailer() && field.trailer.offset != end)
            return false;
        end += field.trailer.size;
    }
    return end == kTrailerSize;
}());

// Every byte the three lines can take: 3 reads of 79 characters and a line end, each
// character at most two bytes (CR LF).
inline constexpr std::size_t kHeaderBytesRead = kHeaderLines * (kMaxLineRead + 1) * 2;

}  // namespace kitloom::patchformat

namespace kitloom {

using PatchLines = std::array<std::string, patchformat::kHeaderLines>;

// The whole patch as Make a Patch writes it: an empty first line, the two image names
// and the trailer.
std::string encodePatch(const std::string& prefix, const JerseySpec& spec);

struct PatchHeader {
    PatchLines lines;
    std::size_t bytes = 0;  // taken from the file's start for them, line ends included
};

// The three lines as the installer reads them from the start of a patch: a UTF-8
// byte-order mark that an editor put first is passed over, CR LF counts as LF, a read
// takes at most 79 characters and leaves the rest of a longer line to the next, reads
// past the end give empty lines, spaces stay, and a line ends at a zero byte.
PatchHeader readPatchHeader(std::string_view fileStart);
inline PatchLines readPatchLines(std::string_view fileStart) { return readPatchHeader(fileStart).lines; }

// The trailer's fields, unconverted. `recordNumber` and the year's eighth byte stay zero.
JerseySpec decodeTrailer(std::string_view trailer);

// True when every code of the trailer is one the form can write: a Team Number up to 99,
// each list's code within its list (a shoe as Go! or as Make a Patch codes it). Codes are
// the unsigned numbers stored; the name and year bytes are not judged.
bool trailerCodesInRange(std::string_view trailer);

// A name that can only mean a file or folder right here: no folder part, no drive, no
// wildcard, not "." or "..", and no device (CON, NUL, COM1, ...) whatever follows its
// first dot, which Windows would open instead of a file.
bool isPlainName(const std::string& name);

// True when `text` holds a control byte (isControlByte), which no file name holds.
bool hasControlCharacter(std::string_view text);

// A plain name ending in ".fsh" in any case: all an image line may hold.
bool isImageName(const std::string& name);

}  // namespace kitloom
