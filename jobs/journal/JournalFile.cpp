#include "jobs/journal/JournalFile.h"

#include "core/TeamGearLayout.h"
#include "platform/Paths.h"

#include <memory>

namespace kitloom {

namespace {

// The journal's lock, as a table's: one byte far past its end.
constexpr std::uint64_t kJournalLockOffset = teamgear::kWriterLockOffset;
constexpr int kJournalLockWaitMilliseconds = 10000;

// The journal, open for appending; made empty first when missing, never over another's.
Opened openJournal(FileSystem& fileSystem, const std::string& folder)
{
    const std::string path = folder + kJournalFileName;
    Opened journal = fileSystem.openForUpdate(path);
    if (journal.file || !fileSystem.missing(path))
        return journal;
    if (Done made = makeFolders(fileSystem, folder); !made)
        return {nullptr, made.reason()};
    std::string temporary;
    Opened empty = fileSystem.createTemporaryIn(folder, temporary);
    if (!empty.file)
        return empty;
    empty.file.reset();
    const MoveDone placed = fileSystem.renameFile(temporary, path);
    if (placed.result != MoveResult::Moved)
        fileSystem.removeFile(temporary);
    if (placed.result == MoveResult::Failed)
        return {nullptr, placed.reason};
    return fileSystem.openForUpdate(path);
}

}  // namespace

Done makeFolders(FileSystem& fileSystem, const std::string& folder)
{
    const std::string bare = withoutClosingSeparator(folder);
    if (bare.empty() || fileSystem.exists(bare))
        return {};
    const std::string parent = folderOfPath(bare);
    if (!parent.empty() && parent != bare + kPathSeparator) {
        if (Done made = makeFolders(fileSystem, parent); !made)
            return made;
    }
    Done made = fileSystem.createFolder(bare);
    return made || fileSystem.exists(bare) ? Done() : made;  // another job may have made it meanwhile
}

Done appendJournalLine(FileSystem& fileSystem, const std::string& folder, const std::string& line, bool flush,
                       const std::function<std::string(const std::string& journal)>& lineFromJournal)
{
    Opened journal = openJournal(fileSystem, folder);
    if (!journal.file)
        return Done::failure(journal.reason);
    OpenFile& file = *journal.file;
    if (Done locked = file.lockExclusive(kJournalLockOffset, 1, kJournalLockWaitMilliseconds); !locked)
        return locked;
    // The whole journal only when the line is made from it; else its last byte.
    std::string text;
    std::uint64_t size = 0;
    if (lineFromJournal) {
        if (Done read = readOpenFile(file, text); !read)
            return read;
        size = text.size();
    } else {
        if (Done sized = file.size(size); !sized)
            return sized;
        text.assign(size > 0 ? 1 : 0, '\n');
        if (size > 0)
            if (Done read = file.readAt(size - 1, text.data(), 1); !read)
                return read;
    }
    std::string written = lineFromJournal ? lineFromJournal(text) : line;
    // A line cut short by a crash ends where the next one starts.
    if (!text.empty() && text.back() != '\n')
        written.insert(written.begin(), '\n');
    written += '\n';
    if (Done done = file.writeAt(size, written.data(), written.size()); !done)
        return done;
    return flush ? file.flush() : Done();
}

Done readJournalLines(FileSystem& fileSystem, const std::string& folder, std::vector<std::string>& lines)
{
    lines.clear();
    const std::string path = folder + kJournalFileName;
    std::string text;
    if (fileSystem.missing(path))
        return {};
    if (Done read = readWholeFile(fileSystem, path, text); !read)
        return read;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return {};
}

Done readOpenFile(OpenFile& file, std::string& bytes)
{
    std::uint64_t size = 0;
    if (Done sized = file.size(size); !sized)
        return sized;
    bytes.assign(static_cast<std::size_t>(size), '\0');
    return size == 0 ? Done() : file.readAt(0, bytes.data(), bytes.size());
}

Done readWholeFile(FileSystem& fileSystem, const std::string& path, std::string& bytes)
{
    Opened opened = fileSystem.openForReading(path);
    if (!opened.file)
        return Done::failure(opened.reason);
    return readOpenFile(*opened.file, bytes);
}

}  // namespace kitloom
