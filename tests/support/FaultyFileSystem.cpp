#include "tests/support/FaultyFileSystem.h"

#include "platform/SystemError.h"

#include <cstring>

namespace kitloom::test {
namespace {

Done diskFull() { return Done::failure(diskFullReason()); }

class FaultyFile final : public OpenFile {
public:
    FaultyFile(std::unique_ptr<OpenFile> real, FaultyFileSystem& owner) : real_(std::move(real)), owner_(owner) {}

    Done readAt(std::uint64_t offset, void* buffer, std::size_t count) override
    {
        return failsNow(Operation::Read) ? diskFull() : real_->readAt(offset, buffer, count);
    }
    Done writeAt(std::uint64_t offset, const void* data, std::size_t count) override
    {
        if (!owner_.nextOperationIsFaulty(Operation::Write))
            return real_->writeAt(offset, data, count);
        if (owner_.crashes())
            return {};
        (void)real_->writeAt(offset, data, count / 2);
        return diskFull();
    }
    Done size(std::uint64_t& size) override { return failsNow(Operation::Size) ? diskFull() : real_->size(size); }
    Done flush() override
    {
        return change(Operation::Flush, [&] { return real_->flush(); });
    }
    Done truncate(std::uint64_t size) override
    {
        return change(Operation::Truncate, [&] { return real_->truncate(size); });
    }
    // A lock is no change on disk, but after a crash nobody waits for one either.
    Done lockExclusive(std::uint64_t offset, std::uint64_t length, int waitMilliseconds) override
    {
        return change(Operation::Lock, [&] { return real_->lockExclusive(offset, length, waitMilliseconds); });
    }

private:
    // A read fails only on a failure: after a crash it sees the disk as the crash left it.
    bool failsNow(Operation operation) { return owner_.nextOperationIsFaulty(operation) && !owner_.crashes(); }
    template <typename Call>
    Done change(Operation operation, Call&& call)
    {
        if (!owner_.nextOperationIsFaulty(operation))
            return call();
        return owner_.crashes() ? Done() : diskFull();
    }

    std::unique_ptr<OpenFile> real_;
    FaultyFileSystem& owner_;
};

// The temporary a crashed process believes it made: nothing of it is on disk.
class LostFile final : public OpenFile {
public:
    Done readAt(std::uint64_t, void* buffer, std::size_t count) override
    {
        std::memset(buffer, 0, count);
        return {};
    }
    Done writeAt(std::uint64_t, const void*, std::size_t) override { return {}; }
    Done size(std::uint64_t& size) override
    {
        size = 0;
        return {};
    }
    Done flush() override { return {}; }
    Done truncate(std::uint64_t) override { return {}; }
    Done lockExclusive(std::uint64_t, std::uint64_t, int) override { return {}; }
};

}  // namespace

Opened FaultyFileSystem::open(Opened (FileSystem::*how)(const std::string&), const std::string& path)
{
    if (nextOperationIsFaulty(Operation::Open) && !crashes())
        return {nullptr, diskFullReason()};
    Opened opened = (inner().*how)(path);
    if (opened.file)
        opened.file = std::make_unique<FaultyFile>(std::move(opened.file), *this);
    return opened;
}

Opened FaultyFileSystem::openForUpdate(const std::string& path) { return open(&FileSystem::openForUpdate, path); }

Opened FaultyFileSystem::openForReading(const std::string& path) { return open(&FileSystem::openForReading, path); }

bool FaultyFileSystem::missing(const std::string& path)
{
    return ask(Operation::Query, false, [&] { return inner().missing(path); });
}

Done FaultyFileSystem::mayWriteIn(const std::string& folder)
{
    return ask(Operation::Query, diskFull(), [&] { return inner().mayWriteIn(folder); });
}

EntryKind FaultyFileSystem::kindOf(const std::string& path)
{
    return ask(Operation::Query, EntryKind::Missing, [&] { return inner().kindOf(path); });
}

std::string FaultyFileSystem::realPath(const std::string& path)
{
    return ask(Operation::Query, path, [&] { return inner().realPath(path); });
}

std::optional<std::string> FaultyFileSystem::folderNamed(const std::string& folder, const std::string& name)
{
    return ask(Operation::Listing, std::optional<std::string>(), [&] { return inner().folderNamed(folder, name); });
}

std::optional<std::string> FaultyFileSystem::fileNamed(const std::string& folder, const std::string& name)
{
    return ask(Operation::Listing, std::optional<std::string>(), [&] { return inner().fileNamed(folder, name); });
}

std::optional<std::vector<std::string>> FaultyFileSystem::entryNames(const std::string& folder, ListedEntries listed)
{
    return ask(Operation::Listing, std::optional<std::vector<std::string>>(),
               [&] { return inner().entryNames(folder, listed); });
}

std::optional<FolderListing> FaultyFileSystem::folderListing(const std::string& folder)
{
    return ask(Operation::Listing, std::optional<FolderListing>(), [&] { return inner().folderListing(folder); });
}

// A failing listing finds nothing to remove; after a crash nothing is removed either.
void FaultyFileSystem::removeLeftTemporaries(const std::string& folder)
{
    if (!nextOperationIsFaulty(Operation::Listing))
        inner().removeLeftTemporaries(folder);
}

Done FaultyFileSystem::createFolder(const std::string& path)
{
    if (!nextOperationIsFaulty(Operation::CreateFolder))
        return inner().createFolder(path);
    return crashes() ? Done() : diskFull();
}

MoveDone FaultyFileSystem::renameFile(const std::string& from, const std::string& to)
{
    if (!nextOperationIsFaulty(Operation::Rename))
        return inner().renameFile(from, to);
    return crashes() ? MoveDone{MoveResult::Moved, {}} : MoveDone{MoveResult::Failed, diskFullReason()};
}

Opened FaultyFileSystem::createTemporaryIn(const std::string& folder, std::string& path)
{
    if (!nextOperationIsFaulty(Operation::CreateTemporary)) {
        Opened made = inner().createTemporaryIn(folder, path);
        if (made.file)
            made.file = std::make_unique<FaultyFile>(std::move(made.file), *this);
        return made;
    }
    if (!crashes())
        return {nullptr, diskFullReason()};
    path = folder + kTemporaryPrefix + "lost";
    return {std::make_unique<LostFile>(), {}};
}

Done FaultyFileSystem::removeFile(const std::string& path)
{
    if (!nextOperationIsFaulty(Operation::Remove))
        return inner().removeFile(path);
    return crashes() ? Done() : diskFull();
}

Done FaultyFileSystem::replaceFile(const std::string& path, const std::string& bytes)
{
    if (!nextOperationIsFaulty(Operation::Replace))
        return inner().replaceFile(path, bytes);
    return crashes() ? Done() : diskFull();
}

}  // namespace kitloom::test
