#pragma once

#include <windows.h>

#include <string>

// How a path reaches the system's file calls. kitloom.exe keeps the ANSI calls, which take
// its paths as they are. kitloom-cli.exe gives the wide calls each path as the ANSI code page
// spells it (UTF-8 where its manifest is honoured), and a long one in the extended form, so
// that it reaches every path the system can hold.
namespace kitloom {

#ifdef KITLOOM_PROGRAM_COPY
using SystemPath = std::string;
using FoundEntry = WIN32_FIND_DATAA;
#else
using SystemPath = std::wstring;
using FoundEntry = WIN32_FIND_DATAW;
#endif

#ifndef KITLOOM_PROGRAM_COPY
// Text in the ANSI code page, and back; a character that code page lacks comes back as '?'.
std::wstring wideText(const std::string& text);
std::string ansiText(const std::wstring& text);
#endif

#ifdef KITLOOM_PROGRAM_COPY
// The ANSI calls themselves, inline: the program stays as small as it was.
inline std::string fullSystemPath(const std::string& path)
{
    if (path.empty())
        return path;
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
    return full;
}
// The ANSI calls take MAX_PATH characters with the terminator, counted on the full path.
inline bool tooLongForSystem(const std::string& path)
{
    return fullSystemPath(path).size() >= MAX_PATH || (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
                                                       GetLastError() == ERROR_FILENAME_EXCED_RANGE);
}
inline SystemPath systemPath(const std::string& path) { return path; }
inline std::string foundName(const FoundEntry& found) { return found.cFileName; }
inline HANDLE createFile(const std::string& path, DWORD access, DWORD share, DWORD disposition)
{
    return CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}
inline DWORD attributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }
inline HANDLE findFirst(const std::string& pattern, FoundEntry& found)
{
    return FindFirstFileA(pattern.c_str(), &found);
}
inline bool findNext(HANDLE search, FoundEntry& found) { return FindNextFileA(search, &found) != 0; }
inline bool createDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }
inline bool deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }
inline bool movePath(const std::string& from, const std::string& to, DWORD flags)
{
    return MoveFileExA(from.c_str(), to.c_str(), flags) != 0;
}
#else
// `path` made absolute against the current folder, with "." and ".." taken out; the path as
// given when the system cannot say.
std::string fullSystemPath(const std::string& path);
// True when the system cannot take `path` for its length, or that of one of its names.
bool tooLongForSystem(const std::string& path);
// `path` for the system's file calls.
SystemPath systemPath(const std::string& path);
// The name an entry found by a folder search has, as this program spells names.
std::string foundName(const FoundEntry& found);

HANDLE createFile(const std::string& path, DWORD access, DWORD share, DWORD disposition);
DWORD attributesOf(const std::string& path);
HANDLE findFirst(const std::string& pattern, FoundEntry& found);
bool findNext(HANDLE search, FoundEntry& found);
bool createDirectory(const std::string& path);
bool deleteFile(const std::string& path);
bool movePath(const std::string& from, const std::string& to, DWORD flags);
#endif

}  // namespace kitloom
