// Feeds arbitrary files to the reader of Steam's libraryfolders.vdf: whatever it makes of
// them, a list written back in today's format reads as the same list.
#include "core/SteamLibraries.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// A text as Steam writes one: in quotes, with backslashes and quotes escaped.
std::string quoted(const std::string& text)
{
    std::string written = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"')
            written += '\\';
        written += c;
    }
    return written + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kitloom;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const SteamLibraries read = readSteamLibraries(file);
    require(read.parsed || read.paths.empty());

    std::string written = "\"libraryfolders\"\n{\n";
    for (std::size_t i = 0; i < read.paths.size(); ++i) {
        require(!read.paths[i].empty() && read.paths[i].size() <= size);
        written += "\t\"" + std::to_string(i) + "\"\n\t{\n\t\t\"path\"\t\t" + quoted(read.paths[i]) + "\n\t}\n";
    }
    written += "}\n";
    const SteamLibraries again = readSteamLibraries(written);
    require(again.parsed);
    require(again.paths == read.paths);
    return 0;
}
