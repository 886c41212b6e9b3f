#pragma once

#include "core/JerseySpec.h"

#include <string>

namespace kitloom {

class FileSystem;

struct PatchWriteReport {
    std::string fileName;  // the stem with ".jer"
    bool written = false;
};

// Writes the patch `fileStem` + ".jer" for `spec`. A stem that is empty or longer than 75
// characters is refused. Either the file ends up holding exactly the new patch, or it is
// left as it was.
PatchWriteReport writePatchFile(const std::string& prefix, const std::string& fileStem, const JerseySpec& spec,
                                FileSystem& fileSystem);

}  // namespace kitloom
