#pragma once

#include "core/SaveTarget.h"
#include "patch/PatchInstaller.h"

#include <string>

namespace kitloom {

class FileSystem;

// What an install report can tell beyond whether an image arrived: a dry run's look ahead,
// why an image did not arrive, whether the image there is the patch's own, and the table
// the jersey needs before anything moves.

// The image called `image` in `patchFolder` (a path prefix), in any case, as the folder
// spells it: a patch made on Windows names nyNEWY.fsh where its zip holds NYNEWY.FSH. The
// exact name when no file is called so.
std::string imageBeside(FileSystem& fileSystem, const std::string& patchFolder, const std::string& image);
// The table the jersey goes into first, when it is missing; empty when it is there.
std::string missingTable(FileSystem& fileSystem, const std::string& gameFolder, const SaveTarget& target);
// Whether `folder` is there and may be written in, or could be made; the reason when not.
Done folderCouldBeMade(FileSystem& fileSystem, const std::string& folder);
// What moving `from` to `to` would give, the art folder being made first if need be.
MoveResult foreseeMove(FileSystem& fileSystem, const std::string& from, const std::string& to, bool artFolderCanBe);
// Fills in `move`'s trouble, its reason and whether the image there is another one.
void explainImage(FileSystem& fileSystem, ImageMove& move, bool artFolderCanBe, const std::string& artFolderReason);

}  // namespace kitloom
