#pragma once

#include "platform/FileSystem.h"

namespace kitloom::test {

// The system's files, except that the k-th write or flush (counted from 1 across all
// files opened through it) fails. A failing write puts half its bytes on disk first,
// as a full disk or a pulled cable might.
class FaultyFileSystem final : public FileSystem {
public:
    explicit FaultyFileSystem(int failingOperation) : failingOperation_(failingOperation) {}

    int operationsSeen() const { return operations_; }
    // Counts one write or flush; true when this one is to fail.
    bool nextOperationFails() { return ++operations_ == failingOperation_; }

    bool exists(const std::string& path) override { return systemFileSystem().exists(path); }
    std::unique_ptr<OpenFile> openForUpdate(const std::string& path) override;
    std::unique_ptr<OpenFile> openForReading(const std::string& path) override
    {
        return systemFileSystem().openForReading(path);
    }
    bool createFolder(const std::string& path) override { return systemFileSystem().createFolder(path); }
    MoveResult moveFile(const std::string& from, const std::string& to) override
    {
        return systemFileSystem().moveFile(from, to);
    }
    bool replaceFile(const std::string& path, const std::string& bytes) override
    {
        return systemFileSystem().replaceFile(path, bytes);
    }

private:
    int failingOperation_;
    int operations_ = 0;
};

}  // namespace kitloom::test
