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

// Text in the ANSI code page, and back; a character that code page lacks comes back as '?'.
std::wstring wideText(const std::string& text);
std::string ansiText(const std::wstring& text);

// `path` for the system's file calls.
SystemPath systemPath(const std::string& path);
// `path` made absolute against the current folder, with "." and ".." taken out; the path as
// given when the system cannot say.
std::string fullSystemPath(const std::string& path);
// The name an entry found by a folder search has, as this program spells names.
std::string foundName(const FoundEntry& found);

HANDLE createFile(const std::string& path, DWORD access, DWORD share, DWORD disposition);
DWORD attributesOf(const std::string& path);
HANDLE findFirst(const std::string& pattern, FoundEntry& found);
bool findNext(HANDLE search, FoundEntry& found);
bool createDirectory(const std::string& path);
bool deleteFile(const std::string& path);
bool movePath(const std::string& from, const std::string& to, DWORD flags);

// True when the system cannot take `path` for its length, or that of one of its names.
bool tooLongForSystem(const std::string& path);

}  // namespace kitloom
