// Installs arbitrary bytes as a patch into a small game in memory: nothing outside the
// game and art folders changes, every image stays or arrives whole, and every table
// reads as before or with the patch's jersey appended.
#include "patch/PatchFormat.h"
#include "app/ProgramHooks.h"
#include "jobs/InstallJob.h"
#include "tests/fuzz/TableInvariants.h"
#include "tests/support/MemoryFileSystem.h"

namespace {

using namespace kitloom;
using fuzz::require;

// A table of `count` records whose bytes tell them apart, and `tail` bytes after them.
std::string table(std::uint32_t count, const std::string& tail)
{
    std::string bytes(teamgear::kHeaderSize, 'H');
    bytes[teamgear::kRecordCountOffset] = static_cast<char>(count);
    bytes.replace(teamgear::kRecordCountOffset + 1, 3, 3, '\0');
    for (std::uint32_t i = 0; i < count * teamgear::kRecordSize; ++i)
        bytes.push_back(static_cast<char>('a' + i % 23));
    return bytes + tail;
}

test::MemoryTree game()
{
    test::MemoryTree tree;
    tree.folders.insert({"/game", "/game/saves", "/game/saves/000", "/game/saves/001", "/game/saves/x",
                         "/game/folder.fsh", "/art", "/outside"});
    tree.files["/game/saves/000/teamgear.dbf"] = table(3, "");
    tree.files["/game/saves/001/teamgear.dbf"] = table(2, "interrupted");
    tree.files["/game/saves/x/teamgear.dbf"] = table(1, "\x1A");
    tree.files["/game/toABCD.fsh"] = "first image";
    tree.files["/game/toABCD_num.fsh"] = "second image";
    tree.files["/game/notes.txt"] = "the user's own file";
    tree.files["/outside/secret.fsh"] = "not the patch's";
    tree.others.insert("/game/link.fsh");
    return tree;
}

bool isTable(const std::string& path)
{
    const std::string name = "/teamgear.dbf";
    return path.size() > name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0;
}

// The name right under `folder`, or empty when `path` is not one.
std::string nameIn(const std::string& folder, const std::string& path)
{
    if (path.compare(0, folder.size(), folder) != 0 || path.find('/', folder.size()) != std::string::npos)
        return {};
    return path.substr(folder.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Made once: each run copies the game, once, and adds its patch.
    static const test::MemoryTree fixture = game();
    static const std::set<std::string> foldersWithArt = [] {
        std::set<std::string> folders = fixture.folders;
        folders.insert("/art/xteam");
        return folders;
    }();
    const std::string patchPath = "/game/p.jer";
    const std::string patch(reinterpret_cast<const char*>(data), size);
    test::MemoryFileSystem fileSystem(fixture);
    fileSystem.tree.files[patchPath] = patch;
    installPatch(fileSystem, kProgramHooks, nullptr, patchPath, "/art/xteam");
    const test::MemoryTree& after = fileSystem.tree;
    // The bytes at `path` before the install, or null where there was no file.
    auto before = [&](const std::string& path) {
        if (path == patchPath)
            return &patch;
        auto found = fixture.files.find(path);
        return found == fixture.files.end() ? nullptr : &found->second;
    };

    // Only a whole patch whose codes a form could write puts its jersey anywhere.
    auto appendedTo = [&](const std::string& table, const std::string& now) {
        const std::string_view trailer = size >= patchformat::kTrailerSize
                                             ? std::string_view(patch).substr(size - patchformat::kTrailerSize)
                                             : "";
        return size >= readPatchHeader(patch).bytes + patchformat::kTrailerSize && trailerCodesInRange(trailer) &&
               fuzz::isAppendOf(table, now, decodeTrailer(trailer));
    };
    auto checkFile = [&](const std::string& path, const std::string& bytes) {
        auto now = after.files.find(path);
        if (isTable(path)) {
            require(now != after.files.end() && (now->second == bytes || appendedTo(bytes, now->second)));
        } else if (now == after.files.end()) {
            // Gone: moved whole into the art folder, and only an image beside the patch.
            const std::string name = nameIn("/game/", path);
            require(!name.empty() && isImageName(name));
            auto moved = after.files.find("/art/xteam/" + name);
            require(moved != after.files.end() && moved->second == bytes);
        } else {
            require(now->second == bytes);
        }
    };
    for (const auto& [path, bytes] : fixture.files)
        checkFile(path, bytes);
    checkFile(patchPath, patch);
    for (const auto& [path, bytes] : after.files) {
        if (before(path))
            continue;
        const std::string name = nameIn("/art/xteam/", path);
        require(!name.empty());
        const std::string* source = before("/game/" + name);
        require(source && *source == bytes);
    }
    require((after.folders == fixture.folders || after.folders == foldersWithArt) && after.others == fixture.others);
    return 0;
}
