// Installs arbitrary bytes as a patch into a small game in memory: nothing outside the
// game and art folders changes, every image stays or arrives whole, and every table
// reads as before or with the patch's jersey appended.
#include "patch/PatchFormat.h"
#include "patch/PatchInstaller.h"
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
    const std::string patch(reinterpret_cast<const char*>(data), size);
    static const test::MemoryTree fixture = game();  // made once: each run copies it
    const test::MemoryTree before = [&] {
        test::MemoryTree tree = fixture;
        tree.files["/game/p.jer"] = patch;
        return tree;
    }();
    test::MemoryFileSystem fileSystem(before);
    installPatch("/game/p.jer", "/art/xteam", fileSystem);
    const test::MemoryTree& after = fileSystem.tree;
    const JerseySpec spec = decodeTrailer(size >= patchformat::kTrailerSize
                                              ? std::string_view(patch).substr(size - patchformat::kTrailerSize)
                                              : std::string_view());

    // Only a whole patch whose codes a form could write puts its jersey anywhere.
    const bool wholeAndInRange = size >= readPatchHeader(patch).bytes + patchformat::kTrailerSize &&
                                 trailerCodesInRange(std::string_view(patch).substr(size - patchformat::kTrailerSize));
    for (const auto& [path, bytes] : before.files) {
        auto now = after.files.find(path);
        if (isTable(path)) {
            require(now != after.files.end() &&
                    (now->second == bytes || (wholeAndInRange && fuzz::isAppendOf(bytes, now->second, spec))));
        } else if (now == after.files.end()) {
            // Gone: moved whole into the art folder, and only an image beside the patch.
            const std::string name = nameIn("/game/", path);
            require(!name.empty() && isImageName(name));
            auto moved = after.files.find("/art/xteam/" + name);
            require(moved != after.files.end() && moved->second == bytes);
        } else {
            require(now->second == bytes);
        }
    }
    for (const auto& [path, bytes] : after.files) {
        if (before.files.count(path))
            continue;
        const std::string name = nameIn("/art/xteam/", path);
        require(!name.empty());
        auto source = before.files.find("/game/" + name);
        require(source != before.files.end() && source->second == bytes);
    }
    std::set<std::string> expectedFolders = before.folders;
    if (after.folders.size() != before.folders.size())
        expectedFolders.insert("/art/xteam");
    require(after.folders == expectedFolders && after.others == before.others);
    return 0;
}
