#pragma once

#include "tests/support/ForwardingFileSystem.h"

#include <vector>

namespace kitloom::test {

enum class Fault {
    FailOne,      // the k-th operation fails as on a full disk (a write puts half its bytes first)
    FailFromOn,   // so does every operation from the k-th on
    CrashFromOn,  // from the k-th on nothing reaches the disk, yet every call succeeds, so
                  // no rollback runs: what a crash at that point leaves behind
};

// The kinds of operation a fault can hit, so that a loop can tell which it walked over.
enum class Operation {
    Open,
    Read,
    Size,
    Write,
    Flush,
    Truncate,
    Lock,
    Query,  // missing, kindOf, mayWriteIn, realPath
    Listing,
    CreateFolder,
    Rename,
    CreateTemporary,
    Remove,
    Replace,
};

// Another file system (the system's unless told) whose k-th operation, counted from 1
// across the file system and every file opened through it, and those after it as the
// fault says, fail. What a failure gives: no file, no listing (none, or nothing removed),
// "not missing", Missing for a kind, a path as given; exists() and the path texts are
// answers about names and never fail by themselves.
class FaultyFileSystem final : public ForwardingFileSystem {
public:
    explicit FaultyFileSystem(int firstFaultyOperation, Fault fault = Fault::FailOne,
                              FileSystem& inner = systemFileSystem())
        : ForwardingFileSystem(inner), firstFaulty_(firstFaultyOperation), fault_(fault)
    {
    }

    int operationsSeen() const { return static_cast<int>(seen_.size()); }
    // Every operation counted, in order.
    const std::vector<Operation>& operations() const { return seen_; }
    bool sawFault() const { return operationsSeen() >= firstFaulty_; }
    // The number the `nth` operation of that kind had, counted as the fault counts; 0 when
    // there were fewer.
    int numberOf(Operation kind, int nth) const
    {
        for (std::size_t at = 0; at < seen_.size(); ++at) {
            if (seen_[at] == kind && --nth == 0)
                return static_cast<int>(at) + 1;
        }
        return 0;
    }
    // Counts one operation; true when it is to be faulty.
    bool nextOperationIsFaulty(Operation operation)
    {
        seen_.push_back(operation);
        const int count = operationsSeen();
        return fault_ == Fault::FailOne ? count == firstFaulty_ : count >= firstFaulty_;
    }
    // From the crash on, a change is dropped and said to be done.
    bool crashes() const { return fault_ == Fault::CrashFromOn; }

    bool missing(const std::string& path) override;
    Opened openForUpdate(const std::string& path) override;
    Opened openForReading(const std::string& path) override;
    Done mayWriteIn(const std::string& folder) override;
    Done createFolder(const std::string& path) override;
    MoveDone renameFile(const std::string& from, const std::string& to) override;
    Opened createTemporaryIn(const std::string& folder, std::string& path) override;
    Done removeFile(const std::string& path) override;
    void removeLeftTemporaries(const std::string& folder) override;
    std::optional<std::string> folderNamed(const std::string& folder, const std::string& name) override;
    std::optional<std::string> fileNamed(const std::string& folder, const std::string& name) override;
    std::optional<std::vector<std::string>> entryNames(const std::string& folder, ListedEntries listed) override;
    std::optional<FolderListing> folderListing(const std::string& folder) override;
    std::string realPath(const std::string& path) override;
    EntryKind kindOf(const std::string& path) override;
    Done replaceFile(const std::string& path, const std::string& bytes) override;

private:
    // A query or a listing: a crash changes nothing there, a failure gives `failed`.
    template <typename Answer, typename Ask>
    Answer ask(Operation operation, Answer failed, Ask&& asked)
    {
        return nextOperationIsFaulty(operation) && !crashes() ? failed : asked();
    }
    Opened open(Opened (FileSystem::*how)(const std::string&), const std::string& path);

    int firstFaulty_;
    Fault fault_;
    std::vector<Operation> seen_;
};

}  // namespace kitloom::test
