#pragma once

#include "platform/FileSystem.h"

namespace kitloom::test {

// The system's files and folders, for test file systems that change a call or two.
class ForwardingFileSystem : public FileSystem {
public:
    bool exists(const std::string& path) override { return systemFileSystem().exists(path); }
    bool missing(const std::string& path) override { return systemFileSystem().missing(path); }
    bool nameTooLong(const std::string& path) override { return systemFileSystem().nameTooLong(path); }
    std::unique_ptr<OpenFile> openForUpdate(const std::string& path) override
    {
        return systemFileSystem().openForUpdate(path);
    }
    std::unique_ptr<OpenFile> openForReading(const std::string& path) override
    {
        return systemFileSystem().openForReading(path);
    }
    bool mayWriteIn(const std::string& folder) override { return systemFileSystem().mayWriteIn(folder); }
    bool createFolder(const std::string& path) override { return systemFileSystem().createFolder(path); }
    MoveResult renameFile(const std::string& from, const std::string& to) override
    {
        return systemFileSystem().renameFile(from, to);
    }
    std::unique_ptr<OpenFile> createTemporaryIn(const std::string& folder, std::string& path) override
    {
        return systemFileSystem().createTemporaryIn(folder, path);
    }
    bool removeFile(const std::string& path) override { return systemFileSystem().removeFile(path); }
    void removeLeftTemporaries(const std::string& folder) override
    {
        systemFileSystem().removeLeftTemporaries(folder);
    }
    std::optional<std::string> folderNamed(const std::string& folder, const std::string& name) override
    {
        return systemFileSystem().folderNamed(folder, name);
    }
    std::optional<std::string> fileNamed(const std::string& folder, const std::string& name) override
    {
        return systemFileSystem().fileNamed(folder, name);
    }
    std::optional<std::vector<std::string>> entryNames(const std::string& folder, ListedEntries listed) override
    {
        return systemFileSystem().entryNames(folder, listed);
    }
    std::string realPath(const std::string& path) override { return systemFileSystem().realPath(path); }
    EntryKind kindOf(const std::string& path) override { return systemFileSystem().kindOf(path); }
    std::string fullPath(const std::string& path) override { return systemFileSystem().fullPath(path); }
    bool replaceFile(const std::string& path, const std::string& bytes) override
    {
        return systemFileSystem().replaceFile(path, bytes);
    }
};

}  // namespace kitloom::test
