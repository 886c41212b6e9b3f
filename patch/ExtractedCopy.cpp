#include "patch/ExtractedCopy.h"

#include "text/AsciiCase.h"

#include <algorithm>
#include <vector>

namespace kitloom {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (asciiLower(c) >= 'a' && asciiLower(c) <= 'f'); }
bool isLetter(char c) { return asciiLower(c) >= 'a' && asciiLower(c) <= 'z'; }
bool isLetterOrDigit(char c) { return isLetter(c) || isDigit(c); }

template <typename Test>
bool allAre(std::string_view text, Test test)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), test);
}

std::vector<std::string_view> foldersOf(std::string_view path)
{
    std::vector<std::string_view> folders;
    while (!path.empty()) {
        const std::size_t end = std::min(path.find('/'), path.find('\\'));
        if (end != 0)
            folders.push_back(path.substr(0, end));
        if (end == std::string_view::npos)
            break;
        path.remove_prefix(end + 1);
    }
    return folders;
}

// The digits at the front of `text`, taken off it.
std::string_view takeDigits(std::string_view& text)
{
    const auto digits = text.substr(0, std::find_if_not(text.begin(), text.end(), isDigit) - text.begin());
    text.remove_prefix(digits.size());
    return digits;
}

// Temp1_munich.zip: the zip's own name, numbered from 1 so that a second copy of it can sit beside the first.
bool isExplorerCopy(std::string_view folder)
{
    if (!startsWithIgnoringAsciiCase(folder, "temp"))
        return false;
    folder.remove_prefix(4);
    if (takeDigits(folder).empty() || folder.empty() || folder.front() != '_')
        return false;
    folder.remove_prefix(1);
    return folder.size() > 4 && endsWithIgnoringAsciiCase(folder, ".zip");
}

bool isSevenZipCopy(std::string_view folder)
{
    return folder.size() == 11 && startsWithIgnoringAsciiCase(folder, "7zo") && allAre(folder.substr(3), isHexDigit);
}

// Rar$EXa0.638, Rar$DIa25472.41565.rartemp: a letter and two numbers, then perhaps an ending.
bool isWinRarCopy(std::string_view folder)
{
    if (!startsWithIgnoringAsciiCase(folder, "rar$ex") && !startsWithIgnoringAsciiCase(folder, "rar$di"))
        return false;
    folder.remove_prefix(6);
    if (folder.empty() || !isLetter(folder.front()))
        return false;
    folder.remove_prefix(1);
    if (takeDigits(folder).empty() || folder.empty() || folder.front() != '.')
        return false;
    folder.remove_prefix(1);
    return !takeDigits(folder).empty() && (folder.empty() || folder.front() == '.');
}

// mkdtemp's names: a prefix and six random letters or digits.
bool isTemporaryFolder(std::string_view folder, std::string_view prefix)
{
    return folder.size() == prefix.size() + 6 && folder.substr(0, prefix.size()) == prefix &&
           allAre(folder.substr(prefix.size()), isLetterOrDigit);
}

// /run/user/1000/doc/ID, or /run/user/1000/doc/by-app/APP/ID as the mount outside the sandbox
// names it for one app; `doc` is the index of "doc".
bool isPortalDocument(const std::vector<std::string_view>& folders, std::size_t doc)
{
    if (doc < 3 || folders[doc] != "doc" || !allAre(folders[doc - 1], isDigit) || folders[doc - 2] != "user" ||
        folders[doc - 3] != "run")
        return false;
    const std::size_t documentAt = doc + 1 < folders.size() && folders[doc + 1] == "by-app" ? doc + 3 : doc + 1;
    return documentAt < folders.size();
}

}  // namespace

ExtractedBy extractedCopyFolder(std::string_view folder)
{
    const std::vector<std::string_view> folders = foldersOf(folder);
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const std::string_view name = folders[i];
        if (isExplorerCopy(name))
            return ExtractedBy::WindowsExplorer;
        if (isSevenZipCopy(name))
            return ExtractedBy::SevenZip;
        if (isWinRarCopy(name))
            return ExtractedBy::WinRar;
        if (isTemporaryFolder(name, ".fr-"))
            return ExtractedBy::FileRoller;
        // A folder of that name elsewhere is as likely a player's own.
        if (i > 0 && folders[i - 1] == "tmp" && isTemporaryFolder(name, "ark-"))
            return ExtractedBy::Ark;
        if (isPortalDocument(folders, i))
            return ExtractedBy::DesktopPortal;
    }
    return ExtractedBy::None;
}

}  // namespace kitloom
