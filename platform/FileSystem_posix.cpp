#include "platform/FileSystem.h"

#include "platform/Paths.h"
#include "platform/SystemError.h"
#include "text/AsciiCase.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string_view>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kitloom {
namespace {

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    int release()
    {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    bool valid() const { return fd_ >= 0; }
    // Closes now and tells whether the close itself succeeded.
    bool reset()
    {
        bool ok = true;
        if (fd_ >= 0)
            ok = ::close(fd_) == 0;
        fd_ = -1;
        return ok;
    }

private:
    int fd_;
};

// The failure of the call that just failed, in the system's words.
Done failedNow() { return Done::failure(lastSystemError()); }

Done doneIf(bool ok) { return ok ? Done() : failedNow(); }

// A call that wrote or read nothing, without an error, gives no words.
Done writeAll(int fd, std::uint64_t offset, const char* data, std::size_t count)
{
    while (count > 0) {
        ssize_t written = ::pwrite(fd, data, count, static_cast<off_t>(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return failedNow();
        if (written == 0)
            return Done::failure({});
        data += written;
        offset += static_cast<std::uint64_t>(written);
        count -= static_cast<std::size_t>(written);
    }
    return {};
}

Done readAll(int fd, std::uint64_t offset, char* buffer, std::size_t count)
{
    while (count > 0) {
        ssize_t got = ::pread(fd, buffer, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failedNow();
        if (got == 0)
            return Done::failure({});
        buffer += got;
        offset += static_cast<std::uint64_t>(got);
        count -= static_cast<std::size_t>(got);
    }
    return {};
}

class PosixFile final : public OpenFile {
public:
    explicit PosixFile(int ownedFd) : fd_(ownedFd) {}

    bool isNamed(const std::string& path) override
    {
        struct stat open {};
        struct stat named {};
        return ::fstat(fd_.get(), &open) == 0 && ::stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
               open.st_ino == named.st_ino;
    }

    Done readAt(std::uint64_t offset, void* buffer, std::size_t count) override
    {
        return readAll(fd_.get(), offset, static_cast<char*>(buffer), count);
    }
    Done writeAt(std::uint64_t offset, const void* data, std::size_t count) override
    {
        return writeAll(fd_.get(), offset, static_cast<const char*>(data), count);
    }
    Done size(std::uint64_t& size) override
    {
        struct stat info {};
        if (::fstat(fd_.get(), &info) != 0)
            return failedNow();
        size = static_cast<std::uint64_t>(info.st_size);
        return {};
    }
    // The data and the size are on disk when this returns; other metadata may follow later.
    Done flush() override { return doneIf(::fdatasync(fd_.get()) == 0); }
    Done truncate(std::uint64_t size) override
    {
        return doneIf(::ftruncate(fd_.get(), static_cast<off_t>(size)) == 0);
    }
    // An open file description lock: it belongs to this handle, not to the process, so two
    // handles of one process keep each other out too, and closing any other handle of the
    // file does not drop it.
    Done lockExclusive(std::uint64_t offset, std::uint64_t length, int waitMilliseconds) override
    {
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = static_cast<off_t>(offset);
        lock.l_len = static_cast<off_t>(length);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
        for (;;) {
            if (::fcntl(fd_.get(), F_OFD_SETLK, &lock) == 0)
                return {};
            if (errno != EAGAIN && errno != EACCES && errno != EINTR)
                return failedNow();
            if (std::chrono::steady_clock::now() >= deadline)
                return failedNow();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

private:
    UniqueFd fd_;
};

mode_t newFileMode()
{
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// O_NONBLOCK: a FIFO or a device opens at once, to be refused, instead of waiting for a
// writer. Regular files ignore the flag, so it stays.
Opened openRegular(const std::string& path, int flags)
{
    UniqueFd fd(::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid())
        return {nullptr, lastSystemError()};
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return {nullptr, lastSystemError()};
    if (!S_ISREG(info.st_mode))
        return {};
    return {std::make_unique<PosixFile>(fd.release()), {}};
}

// Where a file is written before it takes its name: beside it, so that the name can be
// given without copying again.
std::string temporaryBeside(const std::string& path)
{
    return withClosingSeparator(folderOfPathOrCurrent(path)) + kTemporaryPrefix + "XXXXXX";
}

MoveDone linkThenUnlink(const std::string& from, const std::string& to)
{
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return {MoveResult::Moved, {}};
    }
    const int error = errno;
    const std::string reason = lastSystemError();
    if (error == EEXIST)
        return {MoveResult::DestinationExists, reason};
    // Some file systems have no hard links either; a copy still never replaces anything.
    if (error == EXDEV || error == EPERM || error == EOPNOTSUPP)
        return {MoveResult::OtherVolume, reason};
    return {MoveResult::Failed, reason};
}

// The kind of file `path` names itself (a link is not followed); 0 when it cannot be told.
mode_t fileTypeOf(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

// One entry of a folder's listing.
struct ListedEntry {
    std::string name;
    std::string path;
    unsigned char listedType;  // as the listing gave it: DT_UNKNOWN where the file system does not say

    // The kind of file the entry is itself (a link is not followed). Most file systems say so
    // in the listing, which spares a search of many prefixes a call per entry.
    mode_t type() const { return listedType == DT_UNKNOWN ? fileTypeOf(path) : DTTOIF(listedType); }
};

// Hands each entry of `folder` (a path prefix, empty for the current folder) but "." and
// ".." to `visit`; false when the folder cannot be listed.
template <typename Visit>
bool forEachEntry(const std::string& folder, Visit&& visit)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!listing)
        return false;
    const std::string prefix = withClosingSeparator(folder);
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            visit(ListedEntry{name, prefix + name, entry->d_type});
    }
    return true;
}

class PosixFileSystem final : public FileSystem {
public:
    bool exists(const std::string& path) override
    {
        struct stat info {};
        return !path.empty() && ::stat(path.c_str(), &info) == 0;
    }

    bool missing(const std::string& path) override
    {
        struct stat info {};
        return path.empty() || (::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR));
    }

    bool nameTooLong(const std::string& path) override
    {
        struct stat info {};
        return ::stat(path.c_str(), &info) != 0 && errno == ENAMETOOLONG;
    }

    Opened openForUpdate(const std::string& path) override { return openRegular(path, O_RDWR); }
    Opened openForReading(const std::string& path) override { return openRegular(path, O_RDONLY); }

    Done mayWriteIn(const std::string& folder) override { return doneIf(::access(folder.c_str(), W_OK | X_OK) == 0); }

    Done createFolder(const std::string& path) override { return doneIf(::mkdir(path.c_str(), 0777) == 0); }

    Done removeFile(const std::string& path) override { return doneIf(::unlink(path.c_str()) == 0); }

    void removeLeftTemporaries(const std::string& folder) override
    {
        const std::string_view prefix(kTemporaryPrefix);
        const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
        forEachEntry(folder, [&](const ListedEntry& entry) {
            const std::string& name = entry.name;
            const std::string& path = entry.path;
            struct stat info {};
            if (std::string_view(name).substr(0, prefix.size()) == prefix && ::lstat(path.c_str(), &info) == 0 &&
                S_ISREG(info.st_mode) && now - info.st_mtime > kTemporaryLifetimeSeconds)
                ::unlink(path.c_str());
        });
    }

    std::optional<std::string> folderNamed(const std::string& folder, const std::string& name) override
    {
        return entryNamed(folder, name, S_IFDIR);
    }

    std::optional<std::string> fileNamed(const std::string& folder, const std::string& name) override
    {
        return entryNamed(folder, name, S_IFREG);
    }

    std::optional<std::vector<std::string>> entryNames(const std::string& folder, ListedEntries listed) override
    {
        return namesOfType(folder, listed == ListedEntries::Folders ? S_IFDIR : S_IFREG);
    }

    std::optional<FolderListing> folderListing(const std::string& folder) override
    {
        FolderListing listing;
        if (!forEachEntry(folder, [&](const ListedEntry& entry) {
                const mode_t type = entry.type();
                struct stat target {};
                if (type == S_IFDIR)
                    listing.folders.push_back(entry.name);
                else if (type == S_IFLNK && ::stat(entry.path.c_str(), &target) == 0 && S_ISDIR(target.st_mode))
                    listing.linkedFolders.push_back(entry.name);
            }))
            return std::nullopt;
        return listing;
    }

    std::string realPath(const std::string& path) override
    {
        char* resolved = ::realpath(path.empty() ? "." : path.c_str(), nullptr);
        if (!resolved)
            return path;
        std::string result = resolved;
        std::free(resolved);
        return result;
    }

    EntryKind kindOf(const std::string& path) override
    {
        struct stat info {};
        if (path.empty() || ::lstat(path.c_str(), &info) != 0)
            return EntryKind::Missing;
        return S_ISREG(info.st_mode) ? EntryKind::RegularFile : EntryKind::Other;
    }

    std::string fullPath(const std::string& path) override
    {
        if (path.empty())
            return path;
        std::string absolute = path;
        if (path.front() != '/') {
            std::error_code failed;
            const std::filesystem::path current = std::filesystem::current_path(failed);
            if (failed)
                return path;
            absolute = withClosingSeparator(current.string()) + path;
        }
        return std::filesystem::path(absolute).lexically_normal().string();
    }

    MoveDone renameFile(const std::string& from, const std::string& to) override
    {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return {MoveResult::Moved, {}};
        switch (errno) {
        case EEXIST:
            return {MoveResult::DestinationExists, lastSystemError()};
        case EXDEV:
            return {MoveResult::OtherVolume, lastSystemError()};
        case EINVAL:
        case ENOSYS:
            // The file system cannot rename without replacing: a hard link can.
            return linkThenUnlink(from, to);
        default:
            return {MoveResult::Failed, lastSystemError()};
        }
    }

    Opened createTemporaryIn(const std::string& folder, std::string& path) override
    {
        path = withClosingSeparator(folder.empty() ? "." : folder) + kTemporaryPrefix + "XXXXXX";
        UniqueFd fd(::mkstemp(path.data()));
        if (!fd.valid())
            return {nullptr, lastSystemError()};
        // mkstemp's file is the owner's alone; an image is as readable as any new file.
        if (::fchmod(fd.get(), newFileMode()) != 0) {
            Opened failed{nullptr, lastSystemError()};
            ::unlink(path.c_str());
            return failed;
        }
        return {std::make_unique<PosixFile>(fd.release()), {}};
    }

    Done replaceFile(const std::string& path, const std::string& bytes) override
    {
        // A file that may not be written is not replaced behind its back either; one that
        // may keeps its mode.
        struct stat replaced {};
        const bool exists = ::stat(path.c_str(), &replaced) == 0;
        if (exists && ::access(path.c_str(), W_OK) != 0)
            return failedNow();
        const mode_t mode = exists ? replaced.st_mode & 07777 : newFileMode();
        std::string temporary = temporaryBeside(path);
        UniqueFd fd(::mkstemp(temporary.data()));
        if (!fd.valid())
            return failedNow();
        Done done = doneIf(::fchmod(fd.get(), mode) == 0);
        if (done)
            done = writeAll(fd.get(), 0, bytes.data(), bytes.size());
        if (done)
            done = doneIf(::fsync(fd.get()) == 0);
        const bool closed = fd.reset();
        if (done && !closed)
            done = failedNow();
        if (done)
            done = doneIf(::rename(temporary.c_str(), path.c_str()) == 0);
        if (!done)
            ::unlink(temporary.c_str());
        return done;
    }

private:
    static std::optional<std::vector<std::string>> namesOfType(const std::string& folder, mode_t type)
    {
        std::vector<std::string> names;
        if (!forEachEntry(folder, [&](const ListedEntry& entry) {
                if (entry.type() == type)
                    names.push_back(entry.name);
            }))
            return std::nullopt;
        return names;
    }

    // The entry of `folder` of file type `type` called `name` in any case; an exact match wins.
    static std::optional<std::string> entryNamed(const std::string& folder, const std::string& name, mode_t type)
    {
        std::optional<std::string> found;
        forEachEntry(folder, [&](const ListedEntry& entry) {
            if (equalsIgnoringAsciiCase(entry.name, name) && !(found && *found == name) && entry.type() == type)
                found = entry.name;
        });
        return found;
    }
};

}  // namespace

FileSystem& systemFileSystem()
{
    static PosixFileSystem fileSystem;
    return fileSystem;
}

}  // namespace kitloom
