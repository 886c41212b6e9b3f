#pragma once

#include "core/JerseySpec.h"

#include <string>

namespace kitloom {

class FileSystem;
class Messages;

// Writes the patch `fileStem` + ".jer" for `spec` and tells the user the outcome.
// A stem that is empty or longer than 75 characters is refused. Either the file ends
// up holding exactly the new patch, or it is left as it was.
bool writePatchFile(const std::string& prefix, const std::string& fileStem, const JerseySpec& spec,
                    FileSystem& fileSystem, Messages& messages);

}  // namespace kitloom
