#pragma once

#include "platform/FileSystem.h"

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
};

// Files and folders in memory, for fuzzing whole commands. Paths are absolute, with
// either separator; the current folder is the root.
class MemoryFileSystem final : public FileSystem {
public:
    explicit MemoryFileSystem(MemoryTree tree = {}) : tree(std::move(tree)) {}

    MemoryTree tree;

    // "/a/b" for "\a\.\b", "/a//b/" or "a/c/../b".
    static std::string normal(const std::string& path);

    bool exists(const std::string& path) override;
    bool missing(const std::string& path) override { return !exists(path); }
    std::unique_ptr<OpenFile> openForUpdate(const std::string& path) override;
    std::unique_ptr<OpenFile> openForReading(const std::string& path) override { return openForUpdate(path); }
    bool mayWriteIn(const std::string& folder) override { return kindOf(folder) == EntryKind::Other; }
    bool createFolder(const std::string& path) override;
    bool removeFile(const std::string& path) override { return tree.files.erase(normal(path)) > 0; }
    MoveResult moveFile(const std::string& from, const std::string& to) override;
    void removeLeftTemporaries(const std::string&) override {}
    std::optional<std::string> folderNamed(const std::string& folder, const std::string& name) override;
    std::optional<std::string> fileNamed(const std::string& folder, const std::string& name) override;
    std::optional<std::vector<std::string>> entryNames(const std::string& folder, ListedEntries listed) override;
    std::string realPath(const std::string& path) override { return normal(path); }
    EntryKind kindOf(const std::string& path) override;
    std::string fullPath(const std::string& path) override { return normal(path); }
    bool replaceFile(const std::string& path, const std::string& bytes) override;
};

}  // namespace kitloom::test
