#include "tests/support/FaultyFileSystem.h"

#include "platform/SystemError.h"

namespace kitloom::test {
namespace {

class FaultyFile final : public OpenFile {
public:
    FaultyFile(std::unique_ptr<OpenFile> real, FaultyFileSystem& owner) : real_(std::move(real)), owner_(owner) {}

    bool readAt(std::uint64_t offset, void* buffer, std::size_t count) override
    {
        return real_->readAt(offset, buffer, count);
    }
    bool writeAt(std::uint64_t offset, const void* data, std::size_t count) override
    {
        if (!owner_.nextOperationIsFaulty())
            return real_->writeAt(offset, data, count);
        if (owner_.fault() == Fault::CrashFromOn)
            return true;
        real_->writeAt(offset, data, count / 2);
        return diskFull();
    }
    bool size(std::uint64_t& size) override { return real_->size(size); }
    bool flush() override { return faulty() ? crashed() || diskFull() : real_->flush(); }
    bool truncate(std::uint64_t size) override { return faulty() ? crashed() || diskFull() : real_->truncate(size); }
    bool lockExclusive(std::uint64_t offset, std::uint64_t length, int waitMilliseconds) override
    {
        return real_->lockExclusive(offset, length, waitMilliseconds);
    }

private:
    bool faulty() { return owner_.nextOperationIsFaulty(); }
    // After a crash every call seems to succeed; a failure is reported as one.
    bool crashed() const { return owner_.fault() == Fault::CrashFromOn; }
    // Failures look like a full disk's, reason and all.
    static bool diskFull()
    {
        setDiskFullError();
        return false;
    }

    std::unique_ptr<OpenFile> real_;
    FaultyFileSystem& owner_;
};

}  // namespace

std::unique_ptr<OpenFile> FaultyFileSystem::openForUpdate(const std::string& path)
{
    std::unique_ptr<OpenFile> real = systemFileSystem().openForUpdate(path);
    if (!real)
        return nullptr;
    return std::make_unique<FaultyFile>(std::move(real), *this);
}

}  // namespace kitloom::test
