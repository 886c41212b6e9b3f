#pragma once

#include "text/AsciiCase.h"

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace kitloom {

class FileSystem;

inline constexpr int kHighestSaveFolder = 999;

// The game's own names: its folder (Orvanta\Dunkmere under Program Files), its saves'
// tables, its art folder.
inline constexpr char kPublisherFolder[] = "Orvanta";
inline constexpr char kGameFolderName[] = "Dunkmere";
inline constexpr char kSavesFolder[] = "saves";
inline constexpr char kTableFile[] = "teamgear.dbf";
inline constexpr char kRenderFolder[] = "render";
inline constexpr char kArtFolder[] = "xteam";

// Under Wine, the game is a folder whose name starts with the game's, in any case (an
// edition's folder: "Dunkmere Gold"), that holds saves, up to this many levels below a
// prefix's drive_c.
inline constexpr int kGameDepthBelowDrive = 5;
constexpr bool isGameFolderName(std::string_view name) { return startsWithIgnoringAsciiCase(name, kGameFolderName); }

// The most characters of a path the program builds in a game folder.
inline constexpr std::size_t kMaxPathLength = 255;
// The longest Save Slot: "saves\" + slot + "\teamgear.dbf" fits kMaxPathLength.
inline constexpr std::size_t kMaxSaveSlotLength = kMaxPathLength - std::string_view(kSavesFolder).size() -
                                                  std::string_view(kTableFile).size() - 2;

// Paths inside the game folder. `gameFolder` is empty for the current folder, or ends
// with a separator.
std::string namedSaveTablePath(const std::string& gameFolder, const std::string& saveFolder);
// The table of numbered save folder `number`, named with three digits: saves/007/teamgear.dbf.
std::string numberedSaveTablePath(const std::string& gameFolder, int number);
// The numbered save folder that a short name of digits ("7", "07") stands for ("007"); none
// for a name that is already a numbered save's, or no number at all.
std::optional<std::string> numberedSaveNameFor(const std::string& saveFolder);

// True when `path` is `folders` joined by `separator`, each in any case, then `rest`.
consteval bool joinsInAnyCase(std::string_view path, char separator, std::initializer_list<std::string_view> folders,
                              std::string_view rest = "")
{
    bool first = true;
    for (std::string_view folder : folders) {
        if (!first && (path.empty() || path.front() != separator))
            return false;
        path.remove_prefix(first ? 0 : 1);
        first = false;
        if (!startsWithIgnoringAsciiCase(path, folder))
            return false;
        path.remove_prefix(folder.size());
    }
    return path == rest;
}

// The art folder, where the images of every installed patch go: on Windows the game's
// fixed folder; elsewhere, where no such path exists, render/xteam in the game folder.
inline constexpr const char* kFixedArtFolder = "c:\\program files\\orvanta\\dunkmere\\render\\xteam";
static_assert(joinsInAnyCase(kFixedArtFolder, '\\',
                             {"c:", "program files", kPublisherFolder, kGameFolderName, kRenderFolder, kArtFolder}));
#ifdef _WIN32
inline constexpr const char* kArtFolderDescription = kFixedArtFolder;
#else
inline constexpr const char* kArtFolderDescription = "render/xteam in the game folder";
static_assert(joinsInAnyCase(kArtFolderDescription, '/', {kRenderFolder, kArtFolder}, " in the game folder"));
#endif

// The game's own names as Wine finds them, in any case, on a system that matches names
// exactly: the entry `name` of `folder` (a path prefix) when it exists, else one of any
// case, else `name` itself, to be created. Where the system matches any case, `name`.
std::string gameFolderName(FileSystem& fileSystem, const std::string& folder, const std::string& name);
std::string gameFileName(FileSystem& fileSystem, const std::string& folder, const std::string& name);
// The game's saves folder, with its closing separator, as found.
std::string savesFolderIn(FileSystem& fileSystem, const std::string& gameFolder);
// The table of save folder `saveFolder` in `savesFolder`, as found.
std::string saveTableIn(FileSystem& fileSystem, const std::string& savesFolder, const std::string& saveFolder);
// The three-digit name of numbered save folder `number`: 007.
std::string numberedSaveName(int number);
// True when `gameFolder` holds a saves folder, in any case.
bool holdsSaves(FileSystem& fileSystem, const std::string& gameFolder);
// The art folder of the game in `gameFolder`, render and xteam as found.
std::string artFolderOf(FileSystem& fileSystem, const std::string& gameFolder);
// The art folder of a game installed elsewhere than the fixed folder says: xteam in the game
// folder's render folder, each found in any case; none without a render folder.
std::optional<std::string> artFolderBesideSaves(FileSystem& fileSystem, const std::string& gameFolder);

}  // namespace kitloom
