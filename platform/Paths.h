#pragma once

#include <string>
#include <string_view>

// How this system writes paths. Folder prefixes ("game folders") are empty for the current
// folder, or end with a separator.
namespace kitloom {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
// The system itself finds a name typed in another case.
inline constexpr bool kSystemMatchesAnyCase = true;
#else
inline constexpr char kPathSeparator = '/';
inline constexpr bool kSystemMatchesAnyCase = false;
#endif

// '/' everywhere, and '\' on Windows.
bool isPathSeparator(char c);
// The folder part of `path`, with its closing separator; empty when it has none.
std::string folderOfPath(const std::string& path);
// The same, but "." for a path without a folder part, for calls that want a folder.
std::string folderOfPathOrCurrent(const std::string& path);
// `folder` with a closing separator, unless it is empty or already has one.
std::string withClosingSeparator(const std::string& folder);
// `folder` without one closing separator, as folder look-ups want it.
std::string withoutClosingSeparator(const std::string& folder);
// The folder `name` in `folder` as a path prefix: saves/ in the current folder (""), game/saves/
// in game or game/.
std::string folderIn(const std::string& folder, std::string_view name);

}  // namespace kitloom
