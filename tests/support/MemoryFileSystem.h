#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace kitloom::test {

// What a MemoryFileSystem holds, by normal path. `others` stand for what is neither a
// file nor a folder (links, FIFOs): they exist, but nothing opens them.
struct MemoryTree {
    std::map<std::string, std::string> files;
    std::set<std::string> folders{"/"};
    std::set<std::string> others;
    // Folders that, with all below them, are volumes of their own, and the bytes that writes
    // may still add to the files on each: a write past it puts what fits and fails as on a
    // full disk. The root's volume has room without end.
    std::map<std::string, std::size_t> volumes;
    std::size_t longestPath = SIZE_MAX;  // longer paths name nothing that can be reached
};

// Files and folders in memory, for fuzzing whole commands. Paths are absolute, with
// either separator; the current folder is the root. Only a full volume gives a failure
// words (the system's for a full disk).
class MemoryFileSystem final : public FileSystem {
public:
    explicit MemoryFileSystem(MemoryTree tree = {}) : tree(std::move(tree)) {}

    MemoryTree tree;

    // "/a/b" for "\a\.\b", "/a//b/" or "a/c/../b".
    static std::string normal(const std::string& path);

    bool exists(const std::string& path) override;
    bool missing(const std::string& path) override { return !exists(path) && !nameTooLong(path); }
    bool nameTooLong(const std::string& path) override { return normal(path).size() > tree.longestPath; }
    Opened openForUpdate(const std::string& path) override;
    Opened openForReading(const std::string& path) override { return openForUpdate(path); }
    Done mayWriteIn(const std::string& folder) override
    {
        return kindOf(folder) == EntryKind::Other ? Done() : Done::failure({});
    }
    Done createFolder(const std::string& path) override;
    MoveDone renameFile(const std::string& from, const std::string& to) override;
    // The volume `path` (a normal path) is on: the deepest of `volumes` it lies in, or none.
    std::map<std::string, std::size_t>::iterator volumeOf(const std::string& path);
    std::size_t* roomOn(const std::string& path);  // null on the root's volume
    Opened createTemporaryIn(const std::string& folder, std::string& path) override;
    Done removeFile(const std::string& path) override
    {
        return tree.files.erase(normal(path)) == 1 ? Done() : Done::failure({});
    }
    void removeLeftTemporaries(const std::string& folder) override;
    std::optional<std::string> folderNamed(const std::string& folder, const std::string& name) override;
    std::optional<std::string> fileNamed(const std::string& folder, const std::string& name) override;
    std::optional<std::vector<std::string>> entryNames(const std::string& folder, ListedEntries listed) override;
    std::string realPath(const std::string& path) override { return normal(path); }
    EntryKind kindOf(const std::string& path) override;
    std::string fullPath(const std::string& path) override { return normal(path); }
    Done replaceFile(const std::string& path, const std::string& bytes) override;
};

}  // namespace kitloom::test
