#pragma once

#include "platform/FileSystem.h"

namespace kitloom::test {

// Another file system's files and folders (the system's unless told), for test file systems
// that change a call or two.
class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner = systemFileSystem()) : inner_(inner) {}

    FileSystem& inner() { return inner_; }

    bool exists(const std::string& path) override { return inner_.exists(path); }
    bool missing(const std::string& path) override { return inner_.missing(path); }
    bool nameTooLong(const std::string& path) override { return inner_.nameTooLong(path); }
    Opened openForUpdate(const std::string& path) override { return inner_.openForUpdate(path); }
    Opened openForReading(const std::string& path) override { return inner_.openForReading(path); }
    Done mayWriteIn(const std::string& folder) override { return inner_.mayWriteIn(folder); }
    Done createFolder(const std::string& path) override { return inner_.createFolder(path); }
    MoveDone renameFile(const std::string& from, const std::string& to) override
    {
        return inner_.renameFile(from, to);
    }
    Opened createTemporaryIn(const std::string& folder, std::string& path) override
    {
        return inner_.createTemporaryIn(folder, path);
    }
    Done removeFile(const std::string& path) override { return inner_.removeFile(path); }
    void removeLeftTemporaries(const std::string& folder) override { inner_.removeLeftTemporaries(folder); }
    std::optional<std::string> folderNamed(const std::string& folder, const std::string& name) override
    {
        return inner_.folderNamed(folder, name);
    }
    std::optional<std::string> fileNamed(const std::string& folder, const std::string& name) override
    {
        return inner_.fileNamed(folder, name);
    }
    std::optional<std::vector<std::string>> entryNames(const std::string& folder, ListedEntries listed) override
    {
        return inner_.entryNames(folder, listed);
    }
    std::optional<FolderListing> folderListing(const std::string& folder) override
    {
        return inner_.folderListing(folder);
    }
    std::string realPath(const std::string& path) override { return inner_.realPath(path); }
    EntryKind kindOf(const std::string& path) override { return inner_.kindOf(path); }
    std::string fullPath(const std::string& path) override { return inner_.fullPath(path); }
    Done replaceFile(const std::string& path, const std::string& bytes) override
    {
        return inner_.replaceFile(path, bytes);
    }

private:
    FileSystem& inner_;
};

}  // namespace kitloom::test
