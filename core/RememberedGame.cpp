#include "core/RememberedGame.h"

#include "core/GamePaths.h"
#include "core/TextFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <vector>

namespace kitloom {

namespace {

// One path, and a little room: anything longer was not written here.
constexpr std::size_t kMaxFileSize = 64 * 1024;

bool isAbsolute(const std::string& path)
{
#ifdef _WIN32
    return path.size() >= 3 && path[1] == ':' && isPathSeparator(path[2]);
#else
    return !path.empty() && path.front() == '/';
#endif
}

}  // namespace

std::optional<std::string> rememberedGameFile([[maybe_unused]] const std::optional<std::string>& configHome,
                                              [[maybe_unused]] const std::optional<std::string>& home,
                                              [[maybe_unused]] const std::optional<std::string>& appData)
{
    std::string base;
#ifdef _WIN32
    if (!appData || !isAbsolute(*appData))
        return std::nullopt;
    base = *appData;
#else
    if (configHome && isAbsolute(*configHome))
        base = *configHome;
    else if (home && isAbsolute(*home))
        base = withClosingSeparator(*home) + ".config";
    else
        return std::nullopt;
#endif
    return folderIn(base, "kitloom") + "game";
}

RememberResult rememberGame(FileSystem& fileSystem, const std::string& file, const std::string& gameFolder,
                            std::string& reason)
{
    const std::string folder = withClosingSeparator(fileSystem.fullPath(gameFolder));
    // Other: a folder, or a link, which holdsSaves() looks through.
    if (folder.empty() || fileSystem.kindOf(withoutClosingSeparator(folder)) != EntryKind::Other)
        return RememberResult::NoFolder;
    if (!holdsSaves(fileSystem, folder))
        return RememberResult::NoSaves;
    if (!makeFolders(fileSystem, folderOfPath(file), reason) ||
        !succeeded(fileSystem.replaceFile(file, withoutClosingSeparator(folder) + "\n"), reason))
        return RememberResult::CannotWrite;
    return RememberResult::Remembered;
}

ForgetResult forgetGame(FileSystem& fileSystem, const std::string& file, std::string& reason)
{
    if (fileSystem.missing(file))
        return ForgetResult::NothingRemembered;
    return succeeded(fileSystem.removeFile(file), reason) ? ForgetResult::Forgotten : ForgetResult::CannotRemove;
}

RememberedRead readRememberedGame(FileSystem& fileSystem, const std::string& file, std::string& gameFolder)
{
    std::string text;
    switch (readTextFile(fileSystem, file, text, kMaxFileSize)) {
    case TextFileRead::Missing:
        return RememberedRead::NothingRemembered;
    case TextFileRead::Unreadable:
        return RememberedRead::Unreadable;
    case TextFileRead::Read:
        break;
    }
    // The first line; a file edited by hand may end it with CR LF, or not at all.
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.empty())
        return RememberedRead::NothingRemembered;
    gameFolder = withClosingSeparator(line);
    return RememberedRead::Read;
}

}  // namespace kitloom
