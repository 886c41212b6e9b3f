#pragma once

#include "patch/PatchSource.h"

#include <string>

namespace kitloom {

class FileSystem;

// How a patch's images are looked for in its folder.
enum class ImageLookup {
    Exact,    // under the patch's own spelling, which a Windows folder finds in any case itself
    AnyCase,  // in any case, as a zip made on Windows spells them; on Linux under the UTF-8
              // spelling of the patch's code page 1252 name too, as unzip writes it
};

// A patch that is a file of its own, its images in its folder.
class PatchFile : public PatchSource {
public:
    PatchFile(FileSystem& fileSystem, const std::string& path, ImageLookup lookup, std::string download = {},
              std::string inner = {});

    std::string gameFolderHint() override { return folder_; }
    PatchReadResult read(Patch& patch, EntryDamage& damage) override;
    ImageSource findImage(const std::string& image) override;
    Done readImage(const ImageSource& image, const ByteSink& sink, EntryDamage& damage) override;
    bool movesImages() const override { return true; }

protected:
    FileSystem& fileSystem_;

private:
    std::string file_;    // as a full path
    std::string folder_;  // the patch's folder, a path prefix
    ImageLookup lookup_;
};

// The name an image takes in the art folder, so that the game finds it: on Linux, the game
// under Wine opens its code page 1252 name as the UTF-8 file of the same letters.
std::string artFolderName(const std::string& image);

}  // namespace kitloom
