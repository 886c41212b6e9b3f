#pragma once

#include <string>

namespace kitloom {

enum class LutrisFileRead {
    Prefix,     // the game names a Wine prefix
    NoPrefix,   // a game file, of a game that has no Wine prefix (a native game, say)
    Malformed,  // not YAML, or not shaped as Lutris writes its game files
};

struct LutrisGameFile {
    LutrisFileRead read = LutrisFileRead::Malformed;
    std::string prefix;   // Prefix: the folder, as the file gives it
    std::string problem;  // Malformed: the YAML reader's own words
};

// The Wine prefix that a Lutris game file (games/*.yml, YAML) names under game: prefix:.
// Built on Linux only, where Lutris runs.
LutrisGameFile readLutrisGameFile(const std::string& yaml);

}  // namespace kitloom
