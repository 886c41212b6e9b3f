#pragma once

#include <optional>
#include <string>

namespace kitloom {

class FileSystem;

// Where the game folder a player chose once is kept: kitloom/game under XDG_CONFIG_HOME
// (~/.config when that is unset or not absolute), or under %APPDATA% on Windows. The file
// holds the folder's full path on one line, for a person to read too. None when the
// environment names no such place.
std::optional<std::string> rememberedGameFile(const std::optional<std::string>& configHome,
                                              const std::optional<std::string>& home,
                                              const std::optional<std::string>& appData);

enum class RememberResult {
    Remembered,
    NoFolder,     // nothing by that name, or not a folder
    NoSaves,      // a folder without saves
    CannotWrite,  // the file, or a folder on its way, could not be made
};

// Keeps `gameFolder`, made a full path, in `file`, once it holds saves. The file's folders
// are made as needed. CannotWrite leaves the system's words in `reason`.
RememberResult rememberGame(FileSystem& fileSystem, const std::string& file, const std::string& gameFolder,
                            std::string& reason);

enum class ForgetResult { Forgotten, NothingRemembered, CannotRemove };

// CannotRemove leaves the system's words in `reason`.
ForgetResult forgetGame(FileSystem& fileSystem, const std::string& file, std::string& reason);

enum class RememberedRead { Read, NothingRemembered, Unreadable };

// The folder kept in `file`, as a path prefix with its closing separator.
RememberedRead readRememberedGame(FileSystem& fileSystem, const std::string& file, std::string& gameFolder);

}  // namespace kitloom
