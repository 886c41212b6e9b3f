#include "platform/Paths.h"

#include <algorithm>

namespace kitloom {

bool isPathSeparator(char c) { return c == '/' || c == kPathSeparator; }

std::string folderOfPath(const std::string& path)
{
    const auto separator = std::find_if(path.rbegin(), path.rend(), isPathSeparator);
    return std::string(path.begin(), separator.base());
}

std::string folderOfPathOrCurrent(const std::string& path)
{
    const std::string folder = folderOfPath(path);
    return folder.empty() ? std::string(".") : folder;
}

std::string withClosingSeparator(const std::string& folder)
{
    if (folder.empty() || isPathSeparator(folder.back()))
        return folder;
    return folder + kPathSeparator;
}

std::string folderIn(const std::string& folder, std::string_view name)
{
    std::string path = withClosingSeparator(folder);
    path += name;
    path += kPathSeparator;
    return path;
}

std::string withoutClosingSeparator(const std::string& folder)
{
    if (folder.size() > 1 && isPathSeparator(folder.back()))
        return folder.substr(0, folder.size() - 1);
    return folder;
}

}  // namespace kitloom
