#pragma once

#include "core/JerseySpec.h"
#include "patch/PatchFormat.h"

#include <string>
#include <string_view>

namespace kitloom {

class FileSystem;

enum class PatchReadResult { Read, CannotOpen, Invalid };

struct Patch {
    PatchLines lines;
    JerseySpec spec;
};

// Reads the whole patch at `path`: its three lines and its trailer. Invalid when the
// trailer would overlap the lines, or holds a code the form cannot write, or a line is
// neither empty nor a plain name, or an image line names no ".fsh" file. CannotOpen: `reason`,
// when given, receives the system's words for why.
PatchReadResult readPatch(FileSystem& fileSystem, const std::string& path, Patch& patch, std::string* reason = nullptr);
// The same for a whole patch's bytes, as an archive holds them.
PatchReadResult readPatchBytes(std::string_view bytes, Patch& patch);

}  // namespace kitloom
