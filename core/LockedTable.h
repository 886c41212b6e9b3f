#pragma once

#include "platform/FileSystem.h"

#include <memory>
#include <string>

namespace kitloom {

// A table held under the writers' lock, read whole, for an undo to check against what a job
// recorded and then put back from the job's copy.
class LockedTable {
public:
    LockedTable(FileSystem& fileSystem, const std::string& path);

    bool held() const { return file_ != nullptr; }
    const std::string& reason() const { return reason_; }  // when not held: the system's words
    const std::string& bytes() const { return bytes_; }    // the table as it is
    OpenFile& file() { return *file_; }

    // Gives the table exactly `bytes`: written whole to a temporary beside it, flushed, and
    // renamed over it while the lock is held, so that it is either as it was or as given. A
    // writer waiting for the lock opens the new table once it has it. Where the system
    // renames over no open file, the table is written in place, records before the count that
    // takes them in, each step flushed.
    Done replaceWith(const std::string& bytes);

private:
    Done rewriteInPlace(const std::string& bytes);

    FileSystem& fileSystem_;
    std::string path_;
    std::unique_ptr<OpenFile> file_;
    std::string bytes_;
    std::string reason_;
};

}  // namespace kitloom
