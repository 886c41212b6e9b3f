#include "platform/SystemPath_win.h"

namespace kitloom {

namespace {

#ifndef KITLOOM_PROGRAM_COPY
std::wstring fullWidePath(const std::wstring& path)
{
    if (path.empty())
        return path;
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
    return full;
}

// The plain form takes MAX_PATH characters with the terminator, less the room for an 8.3 name
// that CreateDirectory keeps; the extended form takes 32767, and each name in it 255 (the
// most any file system Windows writes allows).
constexpr std::size_t kPlainPathLimit = MAX_PATH - 12;
constexpr std::size_t kExtendedPathLimit = 32767;
constexpr std::size_t kNameLimit = 255;
constexpr const wchar_t* kExtended = L"\\\\?\\";
constexpr const wchar_t* kExtendedShare = L"\\\\?\\UNC\\";

bool startsWith(const std::wstring& text, const wchar_t* start) { return text.rfind(start, 0) == 0; }
#endif

}  // namespace

#ifndef KITLOOM_PROGRAM_COPY
std::wstring wideText(const std::string& text)
{
    if (text.empty())
        return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string ansiText(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                           nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                            nullptr);
    return narrow;
}

#endif

#ifndef KITLOOM_PROGRAM_COPY
SystemPath systemPath(const std::string& path)
{
    const std::wstring wide = wideText(path);
    if (startsWith(wide, kExtended))
        return wide;
    // Counted on the full path: a short relative path in a deep current folder is long too.
    const std::wstring full = fullWidePath(wide);
    if (full.size() < kPlainPathLimit || startsWith(full, L"\\\\.\\"))
        return wide;
    if (startsWith(full, L"\\\\"))
        return kExtendedShare + full.substr(2);
    return kExtended + full;
}

std::string fullSystemPath(const std::string& path)
{
    if (path.empty())
        return path;
    return ansiText(fullWidePath(wideText(path)));
}

std::string foundName(const FoundEntry& found) { return ansiText(found.cFileName); }

HANDLE createFile(const std::string& path, DWORD access, DWORD share, DWORD disposition)
{
    return CreateFileW(systemPath(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}
DWORD attributesOf(const std::string& path) { return GetFileAttributesW(systemPath(path).c_str()); }
HANDLE findFirst(const std::string& pattern, FoundEntry& found)
{
    return FindFirstFileW(systemPath(pattern).c_str(), &found);
}
bool findNext(HANDLE search, FoundEntry& found) { return FindNextFileW(search, &found) != 0; }
bool createDirectory(const std::string& path) { return CreateDirectoryW(systemPath(path).c_str(), nullptr) != 0; }
bool deleteFile(const std::string& path) { return DeleteFileW(systemPath(path).c_str()) != 0; }
bool movePath(const std::string& from, const std::string& to, DWORD flags)
{
    return MoveFileExW(systemPath(from).c_str(), systemPath(to).c_str(), flags) != 0;
}

// Not every system says so itself: Wine, for one, answers a name over 255 characters with
// "not found".
bool tooLongForSystem(const std::string& path)
{
    const SystemPath reached = systemPath(path);
    if (reached.size() >= kExtendedPathLimit)
        return true;
    std::size_t nameLength = 0;
    for (const wchar_t c : fullWidePath(reached)) {
        nameLength = c == L'\\' || c == L'/' ? 0 : nameLength + 1;
        if (nameLength > kNameLimit)
            return true;
    }
    return GetFileAttributesW(reached.c_str()) == INVALID_FILE_ATTRIBUTES &&
           GetLastError() == ERROR_FILENAME_EXCED_RANGE;
}

#endif

}  // namespace kitloom
