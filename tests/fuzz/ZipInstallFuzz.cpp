// Installs arbitrary bytes as a downloaded zip into a small game in memory, as kitloom-cli
// does: the archive installs whole patches or changes nothing. A table changes only by the
// jerseys of patches that went in, each of those has both its images in the art folder, and
// when none went in, no table and no art folder changed and nothing is left behind.
#include "app/ProgramHooks.h"
#include "core/SaveSweep.h"
#include "jobs/InstallJob.h"
#include "patch/ImageLookAhead.h"
#include "patch/ImageStaging.h"
#include "patch/OpenDownload.h"
#include "platform/Paths.h"
#include "tests/fuzz/TableInvariants.h"
#include "tests/support/MemoryFileSystem.h"

#include <algorithm>
#include <cstdio>

namespace {

using namespace kitloom;
// Aborts, as libFuzzer wants a failure told, when `condition` is false, saying what failed.
void expect(bool condition, const char* what)
{
    if (!condition)
        std::fprintf(stderr, "zip install: %s\n", what);
    fuzz::require(condition);
}

std::string table(std::uint32_t count)
{
    std::string bytes(teamgear::kHeaderSize, 'H');
    bytes[teamgear::kRecordCountOffset] = static_cast<char>(count);
    bytes.replace(teamgear::kRecordCountOffset + 1, 3, 3, '\0');
    for (std::uint32_t i = 0; i < count * teamgear::kRecordSize; ++i)
        bytes.push_back(static_cast<char>('a' + i % 23));
    return bytes;
}

test::MemoryTree game()
{
    test::MemoryTree tree;
    tree.folders.insert({"/game", "/game/saves", "/game/saves/000", "/game/saves/001", "/art"});
    tree.files["/game/saves/000/teamgear.dbf"] = table(3);
    tree.files["/game/saves/001/teamgear.dbf"] = table(2);
    // A small art volume: a large image fills it, as a full disk would.
    tree.volumes["/art"] = 1 << 16;
    return tree;
}

SweepReport putOnce(SaveSweep& sweep, const SaveTarget& target, const JerseySpec& spec, bool)
{
    return sweep.appendOnce(target, spec);
}

JobHooks downloadHooks()
{
    JobHooks hooks = kProgramHooks;
    hooks.putJersey = putOnce;
    hooks.openDownload = openDownload;
    hooks.missingTable = missingTable;
    hooks.folderCouldBeMade = folderCouldBeMade;
    hooks.stageImage = stageImage;
    hooks.placeStagedImages = placeStagedImages;
    return hooks;
}

bool wentIn(const PatchInstall& patch)
{
    const auto& tables = patch.install.job.tables;
    return std::any_of(tables.begin(), tables.end(),
                       [](const TableReport& table) { return table.result == ResultCode::Appended; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const test::MemoryTree fixture = game();
    static const JobHooks hooks = downloadHooks();
    test::MemoryFileSystem fileSystem(fixture);
    fileSystem.tree.files["/game/pack.zip"] = std::string(reinterpret_cast<const char*>(data), size);

    InstallRequest request;
    request.patchPaths = {"/game/pack.zip"};
    request.game.given = "/game";
    request.game.artFolder = "/art/xteam";
    request.hooks = &hooks;
    const InstallResult result = installJerseys(fileSystem, request);
    const test::MemoryTree& after = fileSystem.tree;

    expect(after.files.at("/game/pack.zip") == std::string(reinterpret_cast<const char*>(data), size),
           "the zip changed");
    std::size_t jerseys = 0;
    for (const PatchInstall& patch : result.patches) {
        if (!wentIn(patch))
            continue;
        ++jerseys;
        expect(patch.install.imagesInPlace(), "a patch went in without its images");
        for (const ImageMove& move : patch.install.images)
            expect(fileSystem.kindOf(move.to) == EntryKind::RegularFile, "an image said to be in place is not");
    }
    for (const auto& [path, bytes] : after.files) {
        if (path == "/game/pack.zip")
            continue;
        const auto before = fixture.files.find(path);
        if (before == fixture.files.end()) {
            // The art folder's files are named with the system's separator.
            const std::string art = "/art/xteam";
            expect(jerseys > 0 && path.rfind(art, 0) == 0 && path.size() > art.size() &&
                       isPathSeparator(path[art.size()]),
                   "a file appeared with no patch installed");
            expect(path.find(kTemporaryPrefix) == std::string::npos, "a temporary was left behind");
            continue;
        }
        // Each table holds its records, and at most one more for each patch that went in.
        const std::size_t grown = bytes.size() - before->second.size();
        expect(bytes.size() >= before->second.size() &&
                   bytes.compare(0, teamgear::kRecordCountOffset, before->second, 0, teamgear::kRecordCountOffset) == 0,
               "a table lost bytes");
        expect(grown <= jerseys * teamgear::kRecordSize + 1, "a table grew by more than the patches that went in");
    }
    for (const std::string& folder : after.folders)
        expect(fixture.folders.count(folder) == 1 || folder == "/art/xteam", "a folder appeared");
    return 0;
}
