#include "core/LockedTable.h"

#include "core/TeamGearLayout.h"

#include <algorithm>

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
    // Windows renames over no file that is open, and ours holds the lock.
    if (!replaced && fileSystem_.exists(path_))
        replaced = rewriteInPlace(bytes);
    if (replaced)
        bytes_ = bytes;
    return replaced;
}

Done LockedTable::rewriteInPlace(const std::string& bytes)
{
    using namespace teamgear;
    const std::string& now = bytes_;
    std::size_t same = kHeaderSize;
    while (same < bytes.size() && same < now.size() && bytes[same] == now[same])
        ++same;
    const std::size_t header = std::min<std::size_t>(kHeaderSize, bytes.size());
    auto writeHeader = [&] { return file_->writeAt(0, bytes.data(), header); };
    auto writeTail = [&] {
        Done done = same < bytes.size() ? file_->writeAt(same, bytes.data() + same, bytes.size() - same) : Done();
        return done ? file_->truncate(bytes.size()) : done;
    };
    // Records the header does not count yet go in first, and the header counts them after;
    // records to go are uncounted first: cut short, the table reads as before or as after.
    const bool growing = bytes.size() >= now.size();
    Done done = growing ? writeTail() : writeHeader();
    if (done)
        done = file_->flush();
    if (done)
        done = growing ? writeHeader() : writeTail();
    return done ? file_->flush() : done;
}

}  // namespace kitloom
