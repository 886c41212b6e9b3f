#include "tests/support/MemoryFileSystem.h"

#include "platform/SystemError.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>
#include <vector>

namespace kitloom::test {
namespace {

class MemoryFile final : public OpenFile {
public:
    MemoryFile(std::string& bytes, std::size_t* bytesFree) : bytes_(bytes), bytesFree_(bytesFree) {}

    Done readAt(std::uint64_t offset, void* buffer, std::size_t count) override
    {
        if (offset > bytes_.size() || bytes_.size() - offset < count)
            return Done::failure({});
        std::memcpy(buffer, bytes_.data() + offset, count);
        return {};
    }
    Done writeAt(std::uint64_t offset, const void* data, std::size_t count) override
    {
        const std::size_t end = static_cast<std::size_t>(offset) + count;
        const std::size_t growth = end > bytes_.size() ? end - bytes_.size() : 0;
        const std::size_t cut = bytesFree_ && growth > *bytesFree_ ? growth - *bytesFree_ : 0;
        if (bytes_.size() < end - cut)
            bytes_.resize(end - cut, '\0');
        std::memcpy(bytes_.data() + offset, data, count - cut);
        if (bytesFree_)
            *bytesFree_ -= growth - cut;
        if (cut == 0)
            return {};
        return Done::failure(diskFullReason());
    }
    Done size(std::uint64_t& size) override
    {
        size = bytes_.size();
        return {};
    }
    Done flush() override { return {}; }
    Done truncate(std::uint64_t size) override
    {
        bytes_.resize(size, '\0');
        return {};
    }
    Done lockExclusive(std::uint64_t, std::uint64_t, int) override { return {}; }

private:
    std::string& bytes_;
    std::size_t* bytesFree_;
};

const std::string& pathOf(const std::string& path) { return path; }
const std::string& pathOf(const std::pair<const std::string, std::string>& file) { return file.first; }

std::string parentOf(const std::string& normalPath)
{
    const std::size_t slash = normalPath.rfind('/');
    return slash == 0 ? "/" : normalPath.substr(0, slash);
}

// True when `path` is its own normal path, which spares a copy: the sweep asks about a
// thousand such paths a run.
bool isNormal(std::string_view path)
{
    if (path == "/")
        return true;
    if (path.empty() || path.back() == '/' || path.find('\\') != std::string_view::npos)
        return false;
    for (std::size_t slash = 0, next = 0; slash < path.size(); slash = next) {
        next = std::min(path.find('/', slash + 1), path.size());
        const std::string_view part = path.substr(slash + 1, next - slash - 1);
        if (path[slash] != '/' || part.empty() || part == "." || part == "..")
            return false;
    }
    return true;
}

// True when the normal path `path` names an entry right in the normal path `folder`; copies
// nothing, as a listing asks it of each entry it looks at.
bool isIn(const std::string& path, const std::string& folder)
{
    const std::size_t slash = path.rfind('/');
    if (path.size() <= folder.size() || slash == std::string::npos)
        return false;
    return slash == 0 ? folder == "/" : folder.compare(0, std::string::npos, path, 0, slash) == 0;
}

}  // namespace

std::string MemoryFileSystem::normal(const std::string& path)
{
    // Most paths asked about are normal already, or but for a closing separator.
    const std::size_t end = path.find_last_not_of("/\\") + 1;
    if (end > 0 && isNormal(std::string_view(path).substr(0, end)))
        return path.substr(0, end);
    std::string joined;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/' && path[i] != '\\')
            continue;
        const std::string_view part(path.data() + start, i - start);
        start = i + 1;
        if (part == "..")
            joined.resize(joined.empty() ? 0 : joined.rfind('/'));
        else if (!part.empty() && part != ".")
            joined.append(1, '/').append(part);
    }
    if (joined.empty())
        joined = "/";
    return joined;
}

bool MemoryFileSystem::exists(const std::string& path) { return kindOf(path) != EntryKind::Missing; }

Opened MemoryFileSystem::openForUpdate(const std::string& path)
{
    auto found = tree.files.find(normal(path));
    if (found == tree.files.end() || found->first.size() > tree.longestPath)
        return {};
    return {std::make_unique<MemoryFile>(found->second, roomOn(found->first)), {}};
}

Done MemoryFileSystem::createFolder(const std::string& path)
{
    const std::string folder = normal(path);
    if (exists(folder) || !tree.folders.count(parentOf(folder)))
        return Done::failure({});
    tree.folders.insert(folder);
    return {};
}

MoveDone MemoryFileSystem::renameFile(const std::string& from, const std::string& to)
{
    const std::string source = normal(from);
    const std::string target = normal(to);
    auto found = tree.files.find(source);
    if (found == tree.files.end() || !tree.folders.count(parentOf(target)))
        return {MoveResult::Failed, {}};
    if (exists(target))
        return {MoveResult::DestinationExists, {}};
    if (volumeOf(source) != volumeOf(target))
        return {MoveResult::OtherVolume, {}};
    std::string bytes = std::move(found->second);
    tree.files.erase(found);
    tree.files[target] = std::move(bytes);
    return {MoveResult::Moved, {}};
}

std::map<std::string, std::size_t>::iterator MemoryFileSystem::volumeOf(const std::string& path)
{
    auto volume = tree.volumes.end();
    for (auto root = tree.volumes.begin(); root != tree.volumes.end(); ++root) {
        if (path.compare(0, root->first.size() + 1, root->first + "/") == 0 &&
            (volume == tree.volumes.end() || root->first.size() > volume->first.size()))
            volume = root;
    }
    return volume;
}

std::size_t* MemoryFileSystem::roomOn(const std::string& path)
{
    const auto volume = volumeOf(path);
    return volume == tree.volumes.end() ? nullptr : &volume->second;
}

Opened MemoryFileSystem::createTemporaryIn(const std::string& folder, std::string& path)
{
    const std::string parent = normal(folder.empty() ? "." : folder);
    if (!tree.folders.count(parent))
        return {};
    for (int number = 0;; ++number) {
        path = (parent == "/" ? "" : parent) + "/" + kTemporaryPrefix + std::to_string(number);
        if (!exists(path))
            return {std::make_unique<MemoryFile>(tree.files[path], roomOn(path)), {}};
    }
}

// Every temporary counts as left behind: nothing copies meanwhile.
void MemoryFileSystem::removeLeftTemporaries(const std::string& folder)
{
    const std::string prefix = normal(folder) + "/" + kTemporaryPrefix;
    for (auto file = tree.files.begin(); file != tree.files.end();)
        file = file->first.compare(0, prefix.size(), prefix) == 0 ? tree.files.erase(file) : std::next(file);
}

namespace {

// Calls `each` with every path of `entries` (sorted normal paths) right in `folder`, in
// order. Sorting keeps the paths that start with `folder` together: only those are looked at.
template <typename Paths, typename Each>
void forEachIn(const Paths& entries, const std::string& folder, Each each)
{
    for (auto entry = entries.lower_bound(folder); entry != entries.end(); ++entry) {
        const std::string& path = pathOf(*entry);
        if (path.compare(0, folder.size(), folder) != 0)
            break;
        if (isIn(path, folder))
            each(path);
    }
}

// The entry of `entries` (normal paths) in `folder` called `name` in any case; an exact match wins.
template <typename Paths>
std::optional<std::string> entryNamed(const Paths& entries, const std::string& folder, const std::string& name)
{
    std::optional<std::string> found;
    forEachIn(entries, MemoryFileSystem::normal(folder.empty() ? "." : folder), [&](const std::string& path) {
        const std::string_view entry = std::string_view(path).substr(path.rfind('/') + 1);
        const bool sameLetters = entry.size() == name.size() &&
                                 std::equal(entry.begin(), entry.end(), name.begin(), [](char a, char b) {
                                     return std::tolower(static_cast<unsigned char>(a)) ==
                                            std::tolower(static_cast<unsigned char>(b));
                                 });
        if (sameLetters && !(found && *found == name))
            found = std::string(entry);
    });
    return found;
}

}  // namespace

std::optional<std::string> MemoryFileSystem::folderNamed(const std::string& folder, const std::string& name)
{
    return entryNamed(tree.folders, folder, name);
}

std::optional<std::string> MemoryFileSystem::fileNamed(const std::string& folder, const std::string& name)
{
    return entryNamed(tree.files, folder, name);
}

namespace {

// The names of `entries` (normal paths) in `folder`; none when `folder` is not one of `folders`.
template <typename Paths>
std::optional<std::vector<std::string>> namesIn(const Paths& entries, const std::set<std::string>& folders,
                                                const std::string& folder)
{
    const std::string parent = MemoryFileSystem::normal(folder.empty() ? "." : folder);
    if (!folders.count(parent))
        return std::nullopt;
    std::vector<std::string> names;
    forEachIn(entries, parent, [&](const std::string& path) { names.push_back(path.substr(path.rfind('/') + 1)); });
    return names;
}

}  // namespace

std::optional<std::vector<std::string>> MemoryFileSystem::entryNames(const std::string& folder, ListedEntries listed)
{
    if (listed == ListedEntries::Folders)
        return namesIn(tree.folders, tree.folders, folder);
    return namesIn(tree.files, tree.folders, folder);
}

EntryKind MemoryFileSystem::kindOf(const std::string& path)
{
    if (!isNormal(path))
        return kindOf(normal(path));
    if (path.size() > tree.longestPath)
        return EntryKind::Missing;
    if (tree.files.count(path))
        return EntryKind::RegularFile;
    return tree.folders.count(path) || tree.others.count(path) ? EntryKind::Other : EntryKind::Missing;
}

Done MemoryFileSystem::replaceFile(const std::string& path, const std::string& bytes)
{
    const std::string name = normal(path);
    if (tree.folders.count(name) || tree.others.count(name) || !tree.folders.count(parentOf(name)))
        return Done::failure({});
    tree.files[name] = bytes;
    return {};
}

}  // namespace kitloom::test
