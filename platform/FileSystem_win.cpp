#include "platform/FileSystem.h"

#include "platform/Paths.h"
#include "platform/SystemError.h"
#include "platform/SystemPath_win.h"
#include "platform/UniqueHandle_win.h"

#include <windows.h>

#include <string>

namespace kitloom {
namespace {

class UniqueFind {
public:
    explicit UniqueFind(HANDLE handle) : handle_(handle) {}
    UniqueFind(const UniqueFind&) = delete;
    UniqueFind& operator=(const UniqueFind&) = delete;
    ~UniqueFind()
    {
        if (found())
            FindClose(handle_);
    }
    bool found() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// A folder that is no link; a file is neither.
constexpr DWORD kFolderOrLink = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

// The entry `name` of `folder`, as stored, when its folder-or-link attributes are `kind`.
std::optional<std::string> entryNamed(const std::string& folder, const std::string& name, DWORD kind)
{
    FoundEntry found{};
    const UniqueFind search(findFirst(folder + name, found));
    if (!search.found() || (found.dwFileAttributes & kFolderOrLink) != kind)
        return std::nullopt;
    return foundName(found);
}

std::uint64_t secondsBetween(FILETIME earlier, FILETIME later)
{
    auto ticks = [](FILETIME time) { return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime; };
    const std::uint64_t from = ticks(earlier);
    const std::uint64_t to = ticks(later);
    return to > from ? (to - from) / 10000000 : 0;  // in 100-nanosecond ticks
}

// The failure of the call that just failed, in the system's words.
Done failedNow() { return Done::failure(lastSystemError()); }

Done doneIf(bool ok) { return ok ? Done() : failedNow(); }

Done seekTo(HANDLE file, std::uint64_t offset)
{
    SetLastError(NO_ERROR);  // a low part of 0xFFFFFFFF is only a failure with an error set
    LONG high = static_cast<LONG>(offset >> 32);
    DWORD low = SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN);
    return doneIf(!(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR));
}

// A call that wrote or read nothing, without an error, gives no words.
Done writeAll(HANDLE file, std::uint64_t offset, const char* data, std::size_t count)
{
    if (Done seek = seekTo(file, offset); !seek)
        return seek;
    while (count > 0) {
        DWORD written = 0;
        if (!WriteFile(file, data, static_cast<DWORD>(count), &written, nullptr))
            return failedNow();
        if (written == 0)
            return Done::failure({});
        data += written;
        count -= written;
    }
    return {};
}

class WinFile final : public OpenFile {
public:
    explicit WinFile(HANDLE ownedHandle) : handle_(ownedHandle) {}
    // Closing would drop the lock too, but only "when resources allow"; the next writer
    // should not wait for that.
    ~WinFile() override
    {
        if (lockedLength_ > 0) {
            OVERLAPPED at = overlappedAt(lockedOffset_);
            UnlockFileEx(handle_.get(), 0, static_cast<DWORD>(lockedLength_), static_cast<DWORD>(lockedLength_ >> 32),
                         &at);
        }
    }

#ifndef KITLOOM_PROGRAM_COPY
    bool isNamed(const std::string& path) override
    {
        UniqueHandle named(createFile(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING));
        BY_HANDLE_FILE_INFORMATION open{};
        BY_HANDLE_FILE_INFORMATION found{};
        return named.valid() && GetFileInformationByHandle(handle_.get(), &open) &&
               GetFileInformationByHandle(named.get(), &found) &&
               open.dwVolumeSerialNumber == found.dwVolumeSerialNumber &&
               open.nFileIndexHigh == found.nFileIndexHigh && open.nFileIndexLow == found.nFileIndexLow;
    }
#endif

    Done readAt(std::uint64_t offset, void* buffer, std::size_t count) override
    {
        if (Done seek = seekTo(handle_.get(), offset); !seek)
            return seek;
        char* into = static_cast<char*>(buffer);
        while (count > 0) {
            DWORD got = 0;
            if (!ReadFile(handle_.get(), into, static_cast<DWORD>(count), &got, nullptr))
                return failedNow();
            if (got == 0)
                return Done::failure({});
            into += got;
            count -= got;
        }
        return {};
    }
    Done writeAt(std::uint64_t offset, const void* data, std::size_t count) override
    {
        return writeAll(handle_.get(), offset, static_cast<const char*>(data), count);
    }
    Done size(std::uint64_t& size) override
    {
        LARGE_INTEGER value{};
        if (!GetFileSizeEx(handle_.get(), &value))
            return failedNow();
        size = static_cast<std::uint64_t>(value.QuadPart);
        return {};
    }
    Done flush() override { return doneIf(FlushFileBuffers(handle_.get()) != 0); }
    Done truncate(std::uint64_t size) override
    {
        if (Done seek = seekTo(handle_.get(), size); !seek)
            return seek;
        return doneIf(SetEndOfFile(handle_.get()) != 0);
    }
    Done lockExclusive(std::uint64_t offset, std::uint64_t length, int waitMilliseconds) override
    {
        const DWORD start = GetTickCount();  // differences stay right across its wrap
        for (;;) {
            OVERLAPPED at = overlappedAt(offset);
            if (LockFileEx(handle_.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0,
                           static_cast<DWORD>(length), static_cast<DWORD>(length >> 32), &at)) {
                lockedOffset_ = offset;
                lockedLength_ = length;
                return {};
            }
            if (GetLastError() != ERROR_LOCK_VIOLATION || GetTickCount() - start >= static_cast<DWORD>(waitMilliseconds))
                return failedNow();
            Sleep(2);
        }
    }

private:
    static OVERLAPPED overlappedAt(std::uint64_t offset)
    {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        return at;
    }

    UniqueHandle handle_;
    std::uint64_t lockedOffset_ = 0;
    std::uint64_t lockedLength_ = 0;
};

// kitloom-cli puts a table back by renaming its copy over it, while holding the table open
// and locked: its own handles let the name be replaced. The program's keep the system's way.
#ifdef KITLOOM_PROGRAM_COPY
constexpr DWORD kShareRenaming = 0;
#else
constexpr DWORD kShareRenaming = FILE_SHARE_DELETE;
#endif

Opened openExisting(const std::string& path, DWORD access)
{
    UniqueHandle handle(createFile(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE | kShareRenaming, OPEN_EXISTING));
    if (!handle.valid())
        return {nullptr, lastSystemError()};
    // Devices (NUL, CON, COM1 and the like) and pipes open as files too.
    if (GetFileType(handle.get()) != FILE_TYPE_DISK)
        return {};
    return {std::make_unique<WinFile>(handle.release()), {}};
}

class WinFileSystem final : public FileSystem {
public:
    bool exists(const std::string& path) override
    {
        FoundEntry data;
        UniqueFind search(findFirst(path, data));
        return search.found();
    }

    bool missing(const std::string& path) override
    {
        if (attributesOf(path) != INVALID_FILE_ATTRIBUTES)
            return false;
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }

    bool nameTooLong(const std::string& path) override { return tooLongForSystem(path); }

    Opened openForUpdate(const std::string& path) override { return openExisting(path, GENERIC_READ | GENERIC_WRITE); }
    Opened openForReading(const std::string& path) override { return openExisting(path, GENERIC_READ); }

    // Folder permissions are the system's to judge at the moment of the write; only a
    // folder that is not there is known to refuse.
    Done mayWriteIn(const std::string& folder) override
    {
        return doneIf(attributesOf(folder) != INVALID_FILE_ATTRIBUTES);
    }

    Done createFolder(const std::string& path) override { return doneIf(createDirectory(path)); }

    void removeLeftTemporaries(const std::string& folder) override
    {
        const std::string prefix = withClosingSeparator(folder);
        FoundEntry found;
        const UniqueFind search(findFirst(prefix + kTemporaryPrefix + "*", found));
        if (!search.found())
            return;
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        do {
            if (!(found.dwFileAttributes & kFolderOrLink) &&
                secondsBetween(found.ftLastWriteTime, now) > kTemporaryLifetimeSeconds)
                deleteFile(prefix + foundName(found));
        } while (findNext(search.get(), found));
    }

    // Windows matches names in any case already; the search gives the name as stored.
    std::optional<std::string> folderNamed(const std::string& folder, const std::string& name) override
    {
        return entryNamed(folder, name, FILE_ATTRIBUTE_DIRECTORY);
    }

    std::optional<std::string> fileNamed(const std::string& folder, const std::string& name) override
    {
        return entryNamed(folder, name, 0);
    }

    // A folder of patches is listed; on Windows no Wine prefix is searched, so the game
    // search never lists one.
    std::optional<std::vector<std::string>> entryNames(const std::string& folder, ListedEntries listed) override
    {
        FoundEntry found;
        const UniqueFind search(findFirst(withClosingSeparator(folder) + "*", found));
        if (!search.found())
            return std::nullopt;
        const DWORD kind = listed == ListedEntries::Folders ? FILE_ATTRIBUTE_DIRECTORY : 0;
        std::vector<std::string> names;
        do {
            const std::string name = foundName(found);
            if ((found.dwFileAttributes & kFolderOrLink) == kind && name != "." && name != "..")
                names.push_back(name);
        } while (findNext(search.get(), found));
        return names;
    }

    std::string realPath(const std::string& path) override { return fullPath(path); }

    EntryKind kindOf(const std::string& path) override
    {
        const DWORD attributes = attributesOf(path);
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return EntryKind::Missing;
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))
            return EntryKind::Other;
        return EntryKind::RegularFile;
    }

    std::string fullPath(const std::string& path) override { return fullSystemPath(path); }

    // Without MOVEFILE_COPY_ALLOWED the system copies nothing: a copy it cut short would
    // stand under the final name.
    MoveDone renameFile(const std::string& from, const std::string& to) override
    {
        if (movePath(from, to, 0))
            return {MoveResult::Moved, {}};
        const DWORD error = GetLastError();
        const std::string reason = lastSystemError();
        switch (error) {
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            return {MoveResult::DestinationExists, reason};
        case ERROR_NOT_SAME_DEVICE:
            return {MoveResult::OtherVolume, reason};
        default:
            return {MoveResult::Failed, reason};
        }
    }

    Opened createTemporaryIn(const std::string& folder, std::string& path) override
    {
        // A name another copy holds is tried again with the next number.
        const std::string start = withClosingSeparator(folder) + kTemporaryPrefix +
                                  std::to_string(GetCurrentProcessId());
        for (DWORD attempt = GetTickCount(), last = attempt + 100; attempt != last; ++attempt) {
            path = start + "-" + std::to_string(attempt);
            HANDLE file = createFile(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
            if (file != INVALID_HANDLE_VALUE)
                return {std::make_unique<WinFile>(file), {}};
            if (GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
        return {nullptr, lastSystemError()};
    }

    Done removeFile(const std::string& path) override { return doneIf(deleteFile(path)); }

    Done replaceFile(const std::string& path, const std::string& bytes) override
    {
        std::string temporary;
        Opened opened = createTemporaryIn(folderOfPath(path), temporary);
        if (!opened.file)
            return Done::failure(opened.reason);
        Done done = opened.file->writeAt(0, bytes.data(), bytes.size());
        if (done)
            done = opened.file->flush();
        opened.file.reset();
        if (done)
            done = doneIf(movePath(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
        if (!done)
            deleteFile(temporary);
        return done;
    }
};

}  // namespace

FileSystem& systemFileSystem()
{
    static WinFileSystem fileSystem;
    return fileSystem;
}

}  // namespace kitloom
