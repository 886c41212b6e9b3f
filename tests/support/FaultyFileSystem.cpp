#include "tests/support/FaultyFileSystem.h"

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
        if (owner_.nextOperationFails()) {
            real_->writeAt(offset, data, count / 2);
            return false;
        }
        return real_->writeAt(offset, data, count);
    }
    bool size(std::uint64_t& size) override { return real_->size(size); }
    bool flush() override { return !owner_.nextOperationFails() && real_->flush(); }
    bool truncate(std::uint64_t size) override { return real_->truncate(size); }

private:
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
