// Feeds arbitrary files to the patch reader: the three lines, the trailer and the name
// checks, as the installer applies them.
#include "patch/PatchFormat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kitloom;
    const std::string_view file(reinterpret_cast<const char*>(data), size);

    const PatchLines lines = readPatchLines(file.substr(0, patchformat::kHeaderBytesRead));
    for (const std::string& line : lines) {
        require(line.size() <= patchformat::kMaxLineRead);
        require(line.find('\n') == std::string::npos);
        require(line.find('\0') == std::string::npos);
        // A name that passes can never reach outside the folder it is joined to.
        if (isPlainName(line)) {
            require(line != "." && line != "..");
            require(line.find_first_of("\\/:") == std::string::npos);
        }
    }

    if (size >= patchformat::kTrailerSize) {
        const std::string_view trailer = file.substr(size - patchformat::kTrailerSize);
        const JerseySpec spec = decodeTrailer(trailer);
        // Writing the decoded jersey gives back the same trailer bytes.
        const std::string written = encodePatch("to", spec);
        require(std::string_view(written).substr(written.size() - patchformat::kTrailerSize) == trailer);
    }
    return 0;
}
