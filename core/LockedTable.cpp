#include "core/LockedTable.h"

#include "core/TeamGearLayout.h"

namespace kitloom {

namespace {

constexpr int kReopenings = 3;  // another undo renamed its copy over the table meanwhile

}  // namespace

LockedTable::LockedTable(FileSystem& fileSystem, const std::string& path) : fileSystem_(fileSystem), path_(path)
{
    using namespace teamgear;
    for (int reopenings = 0; reopenings <= kReopenings; ++reopenings) {
        Opened opened = fileSystem.openForUpdate(path);
        if (!opened.file) {
            reason_ = opened.reason;
            return;
        }
        if (!succeeded(opened.file->lockExclusive(kWriterLockOffset, kWriterLockLength, kWriterLockWaitMilliseconds),
                       reason_))
            return;
        if (!opened.file->isNamed(path) && reopenings < kReopenings)
            continue;
        std::uint64_t size = 0;
        if (!succeeded(opened.file->size(size), reason_))
            return;
        bytes_.assign(static_cast<std::size_t>(size), '\0');
        if (size > 0 && !succeeded(opened.file->readAt(0, bytes_.data(), bytes_.size()), reason_))
            return;
        file_ = std::move(opened.file);
        return;
    }
}

Done LockedTable::replaceWith(const std::string& bytes)
{
    Done replaced = fileSystem_.replaceFile(path_, bytes);
    if (replaced)
        bytes_ = bytes;
    return replaced;
}

}  // namespace kitloom
