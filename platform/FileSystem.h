#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kitloom {

// What became of a file-system call that can fail: on failure, the system's words for why,
// taken at the failing call ("No space left on device"), without a closing period; empty
// when the system gave none. Success carries nothing.
class Done {
public:
    Done() = default;
    static Done failure(std::string reason)
    {
        Done done;
        done.failed_ = true;
        done.reason_ = std::move(reason);
        return done;
    }

    explicit operator bool() const { return !failed_; }
    const std::string& reason() const { return reason_; }

private:
    bool failed_ = false;
    std::string reason_;
};

// True when `done` succeeded; otherwise `reason` receives its words. A chain of steps
// stops at the first failure and keeps its words: succeeded(a(), why) && succeeded(b(), why).
inline bool succeeded(const Done& done, std::string& reason)
{
    if (!done)
        reason = done.reason();
    return static_cast<bool>(done);
}

// An open file. Closing happens when the object goes away.
class OpenFile {
public:
    OpenFile() = default;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    virtual ~OpenFile() = default;

    // Reads exactly `count` bytes at `offset`; a failure when fewer could be read.
    virtual Done readAt(std::uint64_t offset, void* buffer, std::size_t count) = 0;
    // Writes all `count` bytes at `offset`; a failure when any could not be written.
    virtual Done writeAt(std::uint64_t offset, const void* data, std::size_t count) = 0;
    virtual Done size(std::uint64_t& size) = 0;
    virtual Done flush() = 0;
    virtual Done truncate(std::uint64_t size) = 0;
    // Takes an exclusive lock on `length` bytes at `offset`, held until the file is closed,
    // trying again for up to `waitMilliseconds` while another handle holds it. Only other
    // lockers are kept out: reads and writes by anyone go on as before.
    virtual Done lockExclusive(std::uint64_t offset, std::uint64_t length, int waitMilliseconds) = 0;
    // False when `path` no longer names this file: another file was renamed over it since it
    // was opened, and what is written here reaches no one.
    virtual bool isNamed(const std::string& /*path*/) { return true; }
};

// A file opened, or the system's words for why it could not be.
struct Opened {
    std::unique_ptr<OpenFile> file;  // null when it could not be opened
    std::string reason;
};

// A file too large to be worth holding whole is gone through in pieces of this size.
inline constexpr std::size_t kChunkSize = 64 * 1024;
// Calls `step(offset, count)` for each piece of kChunkSize bytes or fewer of `size` bytes, in
// order, until one returns false; true when every one returned true.
template <typename Step>
bool forEachChunk(std::uint64_t size, Step&& step)
{
    for (std::uint64_t offset = 0; offset < size; offset += kChunkSize) {
        if (!step(offset, static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, size - offset))))
            return false;
    }
    return true;
}

// OtherVolume: a rename only; the destination's folder is on another volume.
enum class MoveResult { Moved, DestinationExists, Failed, OtherVolume };

// A move's result, and the system's words for any result but Moved.
struct MoveDone {
    MoveResult result = MoveResult::Failed;
    std::string reason;
    // Moved across volumes, but the source could not be removed after its copy took the
    // destination's name: it stays where it was, and `reason` says why.
    bool sourceKept = false;
};

// Files written whole before they take their names start so, in the folder of that name.
inline constexpr const char* kTemporaryPrefix = ".kitloom-";
// A temporary older than this was left by a copy that never finished.
inline constexpr int kTemporaryLifetimeSeconds = 60;

// Which entries of a folder a listing names.
enum class ListedEntries { Folders, Files };

// The folders in a folder, and apart from them the links in it that lead to folders.
struct FolderListing {
    std::vector<std::string> folders;
    std::vector<std::string> linkedFolders;
};

// What a name stands for, the name itself and not where a link points.
enum class EntryKind { Missing, RegularFile, Other };

// Every file and folder operation Kitloom makes. The system one talks to the operating
// system; tests wrap it to make chosen operations fail.
class FileSystem {
public:
    FileSystem() = default;
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;
    virtual ~FileSystem() = default;

    // True when a file or a folder of that name exists.
    virtual bool exists(const std::string& path) = 0;
    // True only when the system says nothing is there: no such name, or a folder on the way
    // missing or not a folder. A name that cannot be reached (access denied, a link loop,
    // an I/O error) is not missing.
    virtual bool missing(const std::string& path) = 0;
    // True when the system refuses `path` for its length, or that of one of its names.
    virtual bool nameTooLong(const std::string& path) = 0;
    // An existing regular file, for reading and writing, that others may read and write
    // meanwhile. None when it cannot be opened that way (missing, read-only, locked, a
    // folder); anything but a regular file is refused at once, without waiting on it.
    virtual Opened openForUpdate(const std::string& path) = 0;
    // An existing regular file for reading, shared with other readers and writers; refused
    // like openForUpdate.
    virtual Opened openForReading(const std::string& path) = 0;
    // Succeeds when `folder` is there and this user may make and remove entries in it (a dry
    // run's question: the real run finds out by trying).
    virtual Done mayWriteIn(const std::string& folder) = 0;
    // Creates the last level of `path` only.
    virtual Done createFolder(const std::string& path) = 0;
    // Moves a file, across volumes too, and never replaces an existing destination. Across
    // volumes the copy is made whole under a temporary name beside the destination first,
    // then takes that name: a copy cut short (a full disk) never stands under the final name.
    MoveDone moveFile(const std::string& from, const std::string& to);
    // Gives a file a new name on its own volume, never replacing an existing destination.
    virtual MoveDone renameFile(const std::string& from, const std::string& to) = 0;
    // A new empty file in `folder` (a path prefix) whose name starts with kTemporaryPrefix,
    // made by this call alone; `path` receives its path. None when none could be made.
    virtual Opened createTemporaryIn(const std::string& folder, std::string& path) = 0;
    virtual Done removeFile(const std::string& path) = 0;
    // Removes the temporaries in `folder` that a copy cut short left behind; a copy that
    // may still be going on keeps its own.
    virtual void removeLeftTemporaries(const std::string& folder) = 0;
    // The name of the folder in `folder` (a path prefix, empty for the current folder) that
    // is called `name` in any case, as the system spells it; an exact match wins. A link is
    // not a folder here.
    virtual std::optional<std::string> folderNamed(const std::string& folder, const std::string& name) = 0;
    // The same for a regular file; a link is not a file here.
    virtual std::optional<std::string> fileNamed(const std::string& folder, const std::string& name) = 0;
    // The names of the folders, or of the regular files, in `folder` (a path prefix), links
    // left out, "." and ".." too; none when it cannot be listed.
    virtual std::optional<std::vector<std::string>> entryNames(const std::string& folder, ListedEntries listed) = 0;
    std::optional<std::vector<std::string>> folderNames(const std::string& folder)
    {
        return entryNames(folder, ListedEntries::Folders);
    }
    std::optional<std::vector<std::string>> fileNames(const std::string& folder)
    {
        return entryNames(folder, ListedEntries::Files);
    }
    // The folders in `folder` (a path prefix) and the links in it that lead to folders, each
    // apart; none when it cannot be listed. Where links are not told apart, none is listed.
    virtual std::optional<FolderListing> folderListing(const std::string& folder)
    {
        auto folders = folderNames(folder);
        if (!folders)
            return std::nullopt;
        return FolderListing{std::move(*folders), {}};
    }
    // `path` with every link followed, so that two names of one folder compare equal; the
    // path as given when it cannot be resolved.
    virtual std::string realPath(const std::string& path) = 0;
    // What `path` names; a link is Other, whatever it points to.
    virtual EntryKind kindOf(const std::string& path) = 0;
    // `path` made absolute against the current folder, with "." and ".." segments and
    // repeated separators taken out by the text alone (links are not followed).
    virtual std::string fullPath(const std::string& path) = 0;
    // Gives `path` exactly `bytes`, or leaves it as it was: never a partly written file.
    virtual Done replaceFile(const std::string& path, const std::string& bytes) = 0;

private:
    MoveDone copyThenRemove(const std::string& from, const std::string& to);
};

FileSystem& systemFileSystem();

}  // namespace kitloom
