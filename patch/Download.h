#pragma once

#include "patch/PatchSource.h"

#include <memory>
#include <string>
#include <vector>

namespace kitloom {

// What a path given to install names.
enum class DownloadKind { Patch, Folder, Zip };

// Why a download holds no patch to install.
enum class DownloadTrouble {
    None,
    CannotOpen,    // `reason` says why
    OtherArchive,  // a 7z, rar, tar or compressed file: `archive` names which
    NotAZip,       // named .zip, but no zip archive
    Incomplete,    // a zip cut short: no directory at its end, or one that reaches past it
    Split,         // one part of a zip split over several files
    TooManyEntries,
    NoPatches,  // a folder or zip without a .jer in it
};

// The patches of a download, each as a source of its own, in the order of their paths.
struct OpenedDownload {
    DownloadKind kind = DownloadKind::Patch;
    DownloadTrouble trouble = DownloadTrouble::None;
    std::string archive;  // OtherArchive: "7z", "rar", "tar", "gzip", ...
    std::string reason;   // CannotOpen: the system's words
    std::vector<std::unique_ptr<PatchSource>> patches;
};

// How a download spells its file names: a zip in UTF-8 always, a folder as the system does.
enum class NameSpelling { Utf8, System };
// The paths in `paths` ('/' separated) whose last name is `name` (code page 1252 bytes, as a
// patch spells it) in any case, in its own bytes or spelt in UTF-8.
std::vector<std::string> pathsCalled(const std::vector<std::string>& paths, const std::string& name,
                                     NameSpelling spelling);
// The folder part of a '/' separated path, with its closing '/'; empty at the top.
std::string innerFolderOf(const std::string& path);
// True for a name ending ".jer" in any case.
bool isPatchName(const std::string& name);

}  // namespace kitloom
