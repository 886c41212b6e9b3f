#pragma once

#include "patch/PatchInstaller.h"

#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

// Where an image is to go, and whether the art folder can take it.
struct ImageDestination {
    std::string artFolder;  // with its closing separator
    bool artFolderCanBe = false;
    std::string artFolderReason;  // the system's words when it cannot
#ifndef KITLOOM_PROGRAM_COPY
    // An image of the same name but other bytes there is replaced, kept first under this
    // prefix and the image's name; empty: it stays, and the patch's is refused.
    std::string replacedImagesPrefix;
#endif
};

// Makes one of a patch's images ready in the art folder before any table changes: copied
// whole into a temporary there and checked on the way, or found there already with the same
// bytes. A dry run reads and checks it, writing nothing, so that it gives the real run's
// reason.
ImageMove stageImage(FileSystem& fileSystem, PatchSource& source, const std::string& image,
                     const ImageDestination& destination, bool dryRun);

// Once the tables took the jersey (`keep`), each ready image takes its name in the art
// folder and, found in a folder, leaves it; otherwise each temporary goes.
void placeStagedImages(FileSystem& fileSystem, PatchSource& source, std::vector<ImageMove>& images, bool keep);

}  // namespace kitloom
