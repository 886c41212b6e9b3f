#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kitloom {

struct SteamLibraries {
    bool parsed = false;             // false: the text is not a library list that could be read
    std::vector<std::string> paths;  // each library folder named, in the file's order
};

// The library folders that Steam's steamapps/libraryfolders.vdf names, in either of its
// formats: today's "libraryfolders" { "0" { "path" "..." ... } ... } and the older
// "LibraryFolders" { "1" "..." ... }. The file is Valve's key-value text: quoted or bare
// tokens, braces and // comments. Nothing in it is trusted: a text that breaks the format
// anywhere, or nests deeper than such a file ever does, gives no paths.
SteamLibraries readSteamLibraries(std::string_view text);

}  // namespace kitloom
