#include "core/SaveSweep.h"
#include "core/TeamGearTable.h"
#include "jobs/SystemMessages.h"
#include "patch/PatchFormat.h"
#include "app/ProgramHooks.h"
#include "jobs/InstallJob.h"
#include "patch/ImageLookAhead.h"
#include "patch/PatchWriter.h"

#include "platform/SystemError.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/ForwardingFileSystem.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <map>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kitloom::test {
namespace {

namespace fs = std::filesystem;

// The trailer bytes of exampleJersey(2), to build edited patches from.
std::string abcdTrailer()
{
    std::string patch = encodePatch("to", exampleJersey(2));
    return patch.substr(patch.size() - 39);
}

// The same trailer with the 32-bit code at `offset` replaced by `code`.
std::string trailerWith(std::size_t offset, std::uint32_t code)
{
    std::string trailer = abcdTrailer();
    for (int byte = 0; byte < 4; ++byte)
        trailer[offset + byte] = static_cast<char>(code >> (8 * byte));
    return trailer;
}

// Team Number, Jersey Type, Accessory Colour, Shoe, Sock Colour, Neck Type, Lettering Type:
// where each code stands in the trailer, and the lowest and highest a form writes.
struct CodeEdges {
    std::size_t offset;
    std::uint32_t lowest, highest;
};
constexpr CodeEdges kCodeEdges[] = {{0, 0, 99}, {4, 0, 2},  {19, 2, 17}, {23, 1, 53},
                                    {27, 0, 1}, {31, 0, 3}, {35, 0, 1}};

// The program's way, with kitloom-cli's look ahead, and its patches that go in whole or not
// at all.
JobHooks lookingAhead()
{
    JobHooks hooks = kProgramHooks;
    hooks.missingTable = missingTable;
    hooks.folderCouldBeMade = folderCouldBeMade;
    hooks.stageImage = stageImage;
    hooks.placeStagedImages = placeStagedImages;
    return hooks;
}

// Keeps what a job tells as it goes.
struct RecordingObserver final : JobObserver {
    bool tableVisited(const TableReport& table) override
    {
        tables.push_back(table);
        return true;
    }
    void imageMoved(const ImageMove& move) override { moves.push_back(move); }
    std::vector<TableReport> tables;
    std::vector<ImageMove> moves;
};

PatchInstallReport installPatch(const std::string& patch, const std::string& art, FileSystem& fileSystem,
                                const PatchInstallOptions& options = {}, const JobHooks& hooks = kProgramHooks,
                                JobObserver* observer = nullptr)
{
    return kitloom::installPatch(fileSystem, hooks, observer, patch, art, options);
}

// Installs as the program's patch mode does, keeping what it says; true when a table got
// the jersey.
bool installShowing(const std::string& patch, const std::string& art, Messages& messages,
                    const PatchInstallOptions& options = {}, const JobHooks& hooks = kProgramHooks,
                    JobObserver* observer = nullptr)
{
    const PatchInstallReport report = installPatch(patch, art, systemFileSystem(), options, hooks, observer);
    showAll(messages, patchInstallMessages(report));
    return report.read == PatchReadResult::Read && report.job.outcome == SweepOutcome::Done;
}

// A game folder holding the patch's images and save folders 000 and 001, and an art
// folder whose parent exists.
class PatchInstallerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        addSaveTable(game, "000", 5);
        addSaveTable(game, "001", 5);
        writeBytes(game / "toABCD.fsh", toBytes("first image"));
        writeBytes(game / "toABCD_num.fsh", toBytes("second image"));
        fs::create_directories(game.path() / "render");
    }

    std::string artFolder() const { return game / "render/xteam"; }
    std::string artPrefix() const { return artFolder() + kPathSeparator; }
    std::string patchPath() const { return game / "toronto_98.jer"; }
    void writePatch(const std::string& bytes) { writeBytes(patchPath(), toBytes(bytes)); }
    bool install(const std::string& path) { return installShowing(path, artFolder(), messages); }
    bool install() { return install(patchPath()); }
    std::uint32_t countIn(const std::string& folder)
    {
        return recordCountOf(readBytes(game.path() / "saves" / folder / "teamgear.dbf"));
    }
    bool inArt(const std::string& image) { return fs::exists(fs::path(artFolder()) / image); }
    Bytes savesSnapshot()
    {
        Bytes all;
        for (const char* folder : {"000", "001"}) {
            Bytes table = readBytes(game.path() / "saves" / folder / "teamgear.dbf");
            all.insert(all.end(), table.begin(), table.end());
        }
        return all;
    }
    // Nothing the install may change has changed.
    void expectUntouched(const Bytes& saves)
    {
        EXPECT_EQ(savesSnapshot(), saves);
        EXPECT_FALSE(fs::exists(artFolder()));
        EXPECT_TRUE(fs::exists(game.path() / "toABCD.fsh"));
        EXPECT_TRUE(fs::exists(game.path() / "toABCD_num.fsh"));
    }

    TempFolder game;
    RecordingMessages messages;
};

TEST_F(PatchInstallerTest, AWrittenPatchInstallsIntoEverySaveAndMovesItsImages)
{
    {
        ScopedCurrentFolder inGame(game.path());
        ASSERT_TRUE(writePatchFile("to", "toronto_98", exampleJersey(2), systemFileSystem()).written);
    }
    EXPECT_TRUE(install());

    EXPECT_EQ(countIn("000"), 6u);
    EXPECT_EQ(countIn("001"), 6u);
    EXPECT_TRUE(inArt("toABCD.fsh"));
    EXPECT_EQ(readBytes(fs::path(artFolder()) / "toABCD_num.fsh"), toBytes("second image"));
    EXPECT_FALSE(fs::exists(game.path() / "toABCD.fsh"));
    EXPECT_TRUE(fs::exists(patchPath())) << "the patch stays";
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});

    Bytes record = readBytes(game.path() / "saves" / "000" / "teamgear.dbf");
    EXPECT_EQ(std::string(record.end() - 6, record.end() - 4), " 2") << "the shoe code is installed unconverted";
}

TEST_F(PatchInstallerTest, AFirstLineNamesOneSaveFolderAsWritten)
{
    writePatch("001\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n" + abcdTrailer());
    EXPECT_TRUE(install());
    EXPECT_EQ(countIn("000"), 5u);
    EXPECT_EQ(countIn("001"), 6u);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully!")});

    messages.shown.clear();
    writePatch("1\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n" + abcdTrailer());
    EXPECT_FALSE(install());
    EXPECT_EQ(countIn("001"), 6u);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Directory!")});
}

TEST_F(PatchInstallerTest, EditedHeadersStillFindTheTrailerAtTheEnd)
{
    const std::string longName(70, 'n');
    writeBytes(game / (longName + ".fsh"), toBytes("long"));
    writePatch("\ntoABCD.fsh\n" + longName + ".fsh\n" + abcdTrailer());
    EXPECT_TRUE(install());
    EXPECT_TRUE(inArt("toABCD.fsh"));
    EXPECT_TRUE(inArt(longName + ".fsh"));
    Bytes table = readBytes(game.path() / "saves" / "001" / "teamgear.dbf");
    EXPECT_EQ(std::string(table.end() - 20, table.end() - 9), "ABCD1998-99");

    // An editor's byte-order mark stands before the first line, not in it.
    writePatch("\xEF\xBB\xBF" + encodePatch("to", exampleJersey(2)));
    writeBytes(game / "toABCD_num.fsh", toBytes("second image"));
    messages.shown.clear();
    EXPECT_TRUE(install());
    EXPECT_EQ(countIn("000"), 7u);
    EXPECT_TRUE(inArt("toABCD_num.fsh"));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});
}

TEST_F(PatchInstallerTest, AFirstLineOf79CharactersLeavesTheSecondImageBehind)
{
    writePatch(std::string(79, 'x') + "\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n" + abcdTrailer());
    // Line 1 is then 79 x's: a folder that does not exist.
    EXPECT_FALSE(install());
    EXPECT_TRUE(inArt("toABCD.fsh"));
    EXPECT_FALSE(inArt("toABCD_num.fsh"));
    EXPECT_TRUE(fs::exists(game.path() / "toABCD_num.fsh"));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Directory!")});
}

TEST_F(PatchInstallerTest, AReinstallKeepsTheImagesAlreadyThereAndAppendsAgain)
{
    writePatch(encodePatch("to", exampleJersey(2)));
    fs::create_directories(artFolder());
    writeBytes(fs::path(artFolder()) / "toABCD.fsh", toBytes("earlier"));
    writeBytes(fs::path(artFolder()) / "toABCD_num.fsh", toBytes("earlier"));

    EXPECT_TRUE(install());
    EXPECT_EQ(readBytes(fs::path(artFolder()) / "toABCD.fsh"), toBytes("earlier"));
    EXPECT_EQ(readBytes(game.path() / "toABCD.fsh"), toBytes("first image"));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});

    EXPECT_TRUE(install());
    EXPECT_EQ(countIn("000"), 7u);
}

TEST_F(PatchInstallerTest, ImagesThatDidNotArriveAreReportedAndTheInstallGoesOn)
{
    fs::remove(game.path() / "toABCD_num.fsh");
    writePatch(encodePatch("to", exampleJersey(2)));
    EXPECT_TRUE(install());
    EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{error("Couldn't move toABCD_num.fsh to " + artPrefix()),
                                                         success("Jersey Installed Succesfully")}));

    // Without the art folder's parent nothing can arrive.
    messages.shown.clear();
    EXPECT_TRUE(installShowing(patchPath(), game / "missing/xteam", messages));
    const std::string missingArt = (game / "missing/xteam") + kPathSeparator;
    EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{error("Couldn't move toABCD.fsh to " + missingArt),
                                                         error("Couldn't move toABCD_num.fsh to " + missingArt),
                                                         success("Jersey Installed Succesfully")}));
}

TEST_F(PatchInstallerTest, OnlyAFileInTheArtFolderIsAnImageAlreadyThere)
{
    writePatch(encodePatch("to", exampleJersey(2)));
    fs::create_directories(fs::path(artFolder()) / "toABCD.fsh");
    EXPECT_TRUE(install());
    EXPECT_TRUE(fs::exists(game.path() / "toABCD.fsh")) << "the image stays beside the patch";
    EXPECT_TRUE(inArt("toABCD_num.fsh"));
    EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{error("Couldn't move toABCD.fsh to " + artPrefix()),
                                                         success("Jersey Installed Succesfully")}));
}

TEST_F(PatchInstallerTest, AnArtFolderGivenWithItsClosingSeparatorIsTheSameFolder)
{
    fs::remove(game.path() / "toABCD_num.fsh");
    writePatch(encodePatch("to", exampleJersey(2)));
    EXPECT_TRUE(installShowing(patchPath(), artPrefix(), messages));
    EXPECT_TRUE(inArt("toABCD.fsh"));
    EXPECT_EQ(messages.shown, (std::vector<ShownMessage>{error("Couldn't move toABCD_num.fsh to " + artPrefix()),
                                                         success("Jersey Installed Succesfully")}));
}

TEST_F(PatchInstallerTest, AnEmptyImageLineMovesNothing)
{
    writePatch("\r\n\r\ntoABCD_num.fsh\r\n" + abcdTrailer());
    EXPECT_TRUE(install());
    EXPECT_TRUE(fs::exists(game.path() / "toABCD.fsh"));
    EXPECT_TRUE(inArt("toABCD_num.fsh"));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});
}

TEST_F(PatchInstallerTest, PatchesThatCannotBeReadChangeNothing)
{
    const Bytes saves = savesSnapshot();
    EXPECT_FALSE(install(game / "absent.jer"));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Couldn't open the patch file!")});

    // A download cut short puts the lines' bytes where the trailer is looked for, and padding
    // after the trailer puts itself there: a jersey no form could make, in every save.
    const std::string whole = encodePatch("to", exampleJersey(2));
    std::vector<std::string> patches;
    for (std::size_t length : {0, 1, 30, 38, 40, 45, 68})
        patches.push_back(whole.substr(0, length));
    patches.push_back(whole + std::string(59, '\x1A'));
    for (const CodeEdges& code : kCodeEdges) {
        if (code.lowest > 0)
            patches.push_back(whole.substr(0, 30) + trailerWith(code.offset, code.lowest - 1));
        patches.push_back(whole.substr(0, 30) + trailerWith(code.offset, code.highest + 1));
    }
    patches.push_back(whole.substr(0, 30) + trailerWith(0, 0xFFFFFFFF));
    for (const std::string& patch : patches) {
        messages.shown.clear();
        writePatch(patch);
        EXPECT_FALSE(install());
        EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid patch file!")}) << patch.size();
    }
    expectUntouched(saves);
}

TEST(PatchReaderTest, CodesAtTheEdgesOfEveryListAreRead)
{
    MemoryFileSystem files;
    for (const CodeEdges& code : kCodeEdges) {
        for (std::uint32_t edge : {code.lowest, code.highest}) {
            files.tree.files["/p.jer"] = "\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n" + trailerWith(code.offset, edge);
            Patch patch;
            EXPECT_EQ(readPatch(files, "/p.jer", patch), PatchReadResult::Read) << code.offset << ": " << edge;
        }
    }
}

TEST_F(PatchInstallerTest, NamesThatLeaveTheirFolderAreRefusedBeforeAnythingChanges)
{
    const Bytes saves = savesSnapshot();
    const std::string lines[] = {
        "..\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n",
        "sub/000\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n",
        "\r\n../toABCD.fsh\r\ntoABCD_num.fsh\r\n",
        "\r\ntoABCD.fsh\r\nc:\\windows\\toABCD_num.fsh\r\n",
        "\r\ntoABCD.fsh\r\n..\\toABCD_num.fsh\r\n",
        "\r\n*.fsh\r\ntoABCD_num.fsh\r\n",
        "\r\n.\r\ntoABCD_num.fsh\r\n",
        // Control characters: no Windows file name holds one, and a terminal obeys them.
        "\r\nto\x1b]0;x\x07.fsh\r\ntoABCD_num.fsh\r\n",
        "0\x7f\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n",
        "\r\ntoABCD.fsh\rx.fsh\r\ntoABCD_num.fsh\r\n",
        // Devices: Windows opens them instead of a file, on the patch's way to any system.
        "CON\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n",
        "\r\nnul.fsh\r\ntoABCD_num.fsh\r\n",
        "\r\ntoABCD.fsh\r\nCom1.x.fsh\r\n",
    };
    for (const std::string& header : lines) {
        messages.shown.clear();
        writePatch(header + abcdTrailer());
        EXPECT_FALSE(install()) << header;
        EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid patch file!")}) << header;
    }
    expectUntouched(saves);
}

// A move takes folders and links along, and an image line could name the saves, the patch
// or any file of the user's beside it.
TEST_F(PatchInstallerTest, ImageLinesNameOnlyFshFilesThatAreFiles)
{
    const Bytes saves = savesSnapshot();
    fs::create_directory(game.path() / "folder.fsh");
    std::vector<std::string> images = {"saves", "toronto_98.jer", "toABCD.fs", "toABCD.fsh.txt", "folder.fsh"};
#ifndef _WIN32
    fs::create_symlink(game.path() / "toABCD.fsh", game.path() / "link.fsh");
    ASSERT_EQ(::mkfifo((game / "fifo").c_str(), 0600), 0);
    fs::create_symlink(game.path() / "fifo", game.path() / "fifo.fsh");
    images.insert(images.end(), {"link.fsh", "fifo.fsh"});
#endif
    for (const std::string& image : images) {
        messages.shown.clear();
        writePatch("\r\n" + image + "\r\ntoABCD_num.fsh\r\n" + abcdTrailer());
        EXPECT_FALSE(install()) << image;
        EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid patch file!")}) << image;
    }
    expectUntouched(saves);
    EXPECT_TRUE(fs::is_directory(game.path() / "folder.fsh"));

    messages.shown.clear();
    fs::rename(game.path() / "toABCD.fsh", game.path() / "TOABCD.FSH");
    fs::rename(game.path() / "toABCD_num.fsh", game.path() / "toABCD_num.Fsh");
    writePatch("\r\nTOABCD.FSH\r\ntoABCD_num.Fsh\r\n" + abcdTrailer());
    EXPECT_TRUE(install());
    EXPECT_TRUE(inArt("TOABCD.FSH"));
    EXPECT_TRUE(inArt("toABCD_num.Fsh"));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});
}

#ifndef _WIN32
// Opening a FIFO for reading waits for a writer: it has to be refused before that.
TEST_F(PatchInstallerTest, FifosAreRefusedAtOnceWithTheMessageOfTheirKindOfFile)
{
    ASSERT_EQ(::mkfifo((game / "fifo.jer").c_str(), 0600), 0);
    EXPECT_FALSE(install(game / "fifo.jer"));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Couldn't open the patch file!")});

    const std::string table = game / "saves/002/teamgear.dbf";
    fs::create_directories(game.path() / "saves/002");
    ASSERT_EQ(::mkfifo(table.c_str(), 0600), 0);
    EXPECT_EQ(TeamGearTable(systemFileSystem(), table, TableAccess::Read).readRecords().result,
              ResultCode::TableUnusable);
    EXPECT_EQ(SaveSweep(systemFileSystem()).appendToTable(table, exampleJersey(2)).result, ResultCode::TableUnusable);
}
#endif

// Joined to the image and save names, the padded path would pass the system's path limit.
TEST_F(PatchInstallerTest, ALongPathPaddedWithDotSegmentsInstallsAsTheShortOneDoes)
{
    writeBytes(game / "p.jer", toBytes(encodePatch("to", exampleJersey(2))));
    std::string padded = game.prefix();
    while (padded.size() + 2 + 5 <= 255)
        padded += std::string(".") + kPathSeparator;
    padded += "p.jer";
    EXPECT_TRUE(install(padded));
    EXPECT_EQ(countIn("000"), 6u);
    EXPECT_EQ(countIn("001"), 6u);
    EXPECT_TRUE(inArt("toABCD.fsh"));
    EXPECT_TRUE(inArt("toABCD_num.fsh"));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});
}

TEST_F(PatchInstallerTest, APathWithoutAFolderPartUsesTheCurrentFolder)
{
    writePatch(encodePatch("to", exampleJersey(2)));
    {
        ScopedCurrentFolder inGame(game.path());
        EXPECT_TRUE(install("toronto_98.jer"));
    }
    EXPECT_EQ(countIn("000"), 6u);
    EXPECT_TRUE(inArt("toABCD.fsh"));
}

// A downloaded patch: images beside it, saves in the game folder. A dry run moves and
// writes nothing, yet foresees the moves and tells what the real run then tells.
TEST_F(PatchInstallerTest, ADownloadedPatchTakesItsImagesFromItsFolderAndItsSavesFromTheGame)
{
    TempFolder downloads;
    writeBytes(downloads / "p.jer", toBytes(encodePatch("to", exampleJersey(2))));
    writeBytes(downloads / "toABCD.fsh", toBytes("downloaded image"));
    const Bytes saves = savesSnapshot();

    std::vector<ShownMessage> shown[2];
    for (bool dryRun : {true, false}) {
        RecordingObserver told;
        PatchInstallOptions options;
        options.gameFolder = game.path().string();
        options.dryRun = dryRun;
        options.imagesLater = true;
        EXPECT_TRUE(installShowing(downloads / "p.jer", artFolder(), messages, options, lookingAhead(), &told));
        const std::vector<ImageMove>& moves = told.moves;
        const std::vector<TableReport>& tables = told.tables;
        shown[dryRun] = std::move(messages.shown);
        messages.shown.clear();
        ASSERT_EQ(moves.size(), 2u);
        EXPECT_EQ(moves[0].from, downloads / "toABCD.fsh");
        EXPECT_EQ(moves[0].result, MoveResult::Moved);
        EXPECT_EQ(moves[1].result, MoveResult::Failed) << "not beside the patch";
        ASSERT_EQ(tables.size(), 2u);
        EXPECT_EQ(tables[1].recordNumber, 6u);
        if (dryRun) {
            expectUntouched(saves);
            EXPECT_TRUE(fs::exists(downloads.path() / "toABCD.fsh"));
        }
    }
    EXPECT_EQ(shown[true], shown[false]);
    EXPECT_EQ(shown[false], (std::vector<ShownMessage>{error("Couldn't move toABCD_num.fsh to " + artPrefix()),
                                                       success("Jersey Installed Succesfully")}));
    EXPECT_EQ(countIn("001"), 6u);
    EXPECT_EQ(readBytes(fs::path(artFolder()) / "toABCD.fsh"), toBytes("downloaded image"));
    EXPECT_TRUE(fs::exists(game.path() / "toABCD.fsh")) << "the game folder's own image stays";
}

// An art folder on a nearly full drive: the copy of an image that does not fit never stands
// under its final name, and once there is room, installing again puts it in place.
TEST(PatchImageMoveTest, ACopyAcrossVolumesCutShortLeavesNoImage)
{
    MemoryFileSystem files;
    files.tree.folders.insert({"/game", "/game/saves", "/game/saves/000", "/art"});
    files.tree.volumes["/art"] = 150;
    const Bytes table = makeTable(3);
    files.tree.files["/game/saves/000/teamgear.dbf"] = std::string(table.begin(), table.end());
    files.tree.files["/game/toABCD.fsh"] = std::string(100, 'a');
    files.tree.files["/game/toABCD_num.fsh"] = std::string(100, 'b');
    files.tree.files["/game/p.jer"] = encodePatch("to", exampleJersey(2));

    // The program's order: each image moves before the tables change.
    PatchInstallReport report = installPatch("/game/p.jer", "/art", files, {}, kProgramHooks);
    RecordingMessages messages;
    showAll(messages, patchInstallMessages(report));
    EXPECT_EQ(messages.shown,
              (std::vector<ShownMessage>{error("Couldn't move toABCD_num.fsh to /art" + std::string(1, kPathSeparator)),
                                         success("Jersey Installed Succesfully")}));
    EXPECT_FALSE(report.images[1].inArtFolder);
    EXPECT_EQ(report.images[1].reason, diskFullReason());
    EXPECT_EQ(files.tree.files["/art/toABCD.fsh"], std::string(100, 'a'));
    EXPECT_FALSE(files.tree.files.count("/game/toABCD.fsh"));
    EXPECT_FALSE(files.exists("/art/toABCD_num.fsh"));
    EXPECT_FALSE(files.fileNamed("/art/", std::string(kTemporaryPrefix) + "0")) << "the cut copy went";
    EXPECT_TRUE(files.exists("/game/toABCD_num.fsh"));

    files.tree.volumes["/art"] = 1000;
    files.tree.files[std::string("/art/") + kTemporaryPrefix + "7"] = "left by a copy that never finished";
    showAll(messages, patchInstallMessages(installPatch("/game/p.jer", "/art", files)));
    EXPECT_EQ(files.tree.files["/art/toABCD_num.fsh"], std::string(100, 'b'));
    EXPECT_FALSE(files.exists(std::string("/art/") + kTemporaryPrefix + "7"));
    EXPECT_EQ(messages.shown.back(), success("Jersey Installed Succesfully"));
    EXPECT_EQ(messages.shown.size(), 3u) << "the first image is already there";
}

// The system refuses to remove what it has just copied.
class KeepingFileSystem final : public ForwardingFileSystem {
public:
    KeepingFileSystem(FileSystem& inner, std::string kept) : ForwardingFileSystem(inner), kept_(std::move(kept)) {}
    Done removeFile(const std::string& path) override
    {
        return path == kept_ ? Done::failure("Permission denied") : ForwardingFileSystem::removeFile(path);
    }

private:
    std::string kept_;
};

// An image copied to an art folder on another drive whose source cannot be removed is in
// place, and the install done; the image left beside the patch is told with its reason.
TEST(PatchImageMoveTest, ASourceThatCannotBeRemovedAfterItsCopyIsTold)
{
    MemoryFileSystem files;
    files.tree.folders.insert({"/game", "/game/saves", "/game/saves/000", "/art"});
    files.tree.volumes["/art"] = 1000;
    const Bytes table = makeTable(3);
    files.tree.files["/game/saves/000/teamgear.dbf"] = std::string(table.begin(), table.end());
    files.tree.files["/game/toABCD.fsh"] = std::string(100, 'a');
    files.tree.files["/game/toABCD_num.fsh"] = std::string(100, 'b');
    files.tree.files["/game/p.jer"] = encodePatch("to", exampleJersey(2));
    KeepingFileSystem keeping(files, "/game/toABCD.fsh");

    for (const JobHooks& hooks : {kProgramHooks, lookingAhead()}) {
        const PatchInstallReport report = installPatch("/game/p.jer", "/art", keeping, {}, hooks);
        EXPECT_EQ(report.job.outcome, SweepOutcome::Done);
        EXPECT_TRUE(report.imagesInPlace());
        ASSERT_EQ(report.images.size(), 2u);
        EXPECT_TRUE(report.images[0].sourceKept);
        EXPECT_EQ(report.images[0].reason, "Permission denied");
        EXPECT_FALSE(report.images[1].sourceKept);
        EXPECT_EQ(files.tree.files["/art/toABCD.fsh"], std::string(100, 'a'));
        EXPECT_TRUE(files.exists("/game/toABCD.fsh"));
        EXPECT_FALSE(files.exists("/game/toABCD_num.fsh"));
        // As it was, for the other way through.
        files.tree.files["/game/toABCD_num.fsh"] = std::string(100, 'b');
        files.tree.files.erase("/art/toABCD.fsh");
        files.tree.files.erase("/art/toABCD_num.fsh");
    }
}

// An art folder that is there but owned by someone else.
class ReadOnlyArtFolder final : public ForwardingFileSystem {
public:
    explicit ReadOnlyArtFolder(FileSystem& inner) : ForwardingFileSystem(inner) {}
    Done mayWriteIn(const std::string& folder) override
    {
        return withoutClosingSeparator(folder) == "/art" ? Done::failure("Permission denied")
                                                         : ForwardingFileSystem::mayWriteIn(folder);
    }
    Opened createTemporaryIn(const std::string& folder, std::string& path) override
    {
        if (withoutClosingSeparator(folder) == "/art")
            return {nullptr, "Permission denied"};
        return ForwardingFileSystem::createTemporaryIn(folder, path);
    }
};

// A patch goes in whole or not at all: an art folder the player cannot write in keeps every
// table as it was, the images stay beside the patch, and the dry run gives the real run's
// reason.
TEST(PatchImageMoveTest, AnArtFolderThatCannotBeWrittenInChangesNoTableAndDryRunsSayWhy)
{
    MemoryFileSystem files;
    files.tree.folders.insert({"/game", "/game/saves", "/game/saves/000", "/art"});
    const Bytes table = makeTable(3);
    files.tree.files["/game/saves/000/teamgear.dbf"] = std::string(table.begin(), table.end());
    files.tree.files["/game/toABCD.fsh"] = "a";
    files.tree.files["/game/toABCD_num.fsh"] = "b";
    files.tree.files["/game/p.jer"] = encodePatch("to", exampleJersey(2));
    const MemoryTree before = files.tree;
    ReadOnlyArtFolder readOnly(files);

    for (bool dryRun : {true, false}) {
        PatchInstallOptions options;
        options.dryRun = dryRun;
        const PatchInstallReport report = installPatch("/game/p.jer", "/art", readOnly, options, lookingAhead());
        EXPECT_TRUE(report.refused) << dryRun;
        EXPECT_TRUE(report.job.tables.empty()) << dryRun;
        ASSERT_EQ(report.images.size(), 2u);
        for (const ImageMove& move : report.images) {
            EXPECT_EQ(move.trouble, ImageTrouble::ArtFolderReadOnly) << dryRun;
            EXPECT_EQ(move.reason, "Permission denied") << dryRun;
        }
        EXPECT_EQ(files.tree.files, before.files) << dryRun;
    }
}

// A game in memory: saves 000 and 001, the patch and its images beside them (one larger than
// a copy's buffer), and an art folder to be made, on the game's volume or on one of its own.
MemoryTree gameWithArtFolder(bool artOnItsOwnVolume)
{
    MemoryTree tree;
    tree.folders.insert({"/game", "/game/saves", "/game/saves/000", "/game/saves/001", "/art"});
    if (artOnItsOwnVolume)
        tree.volumes["/art"] = 1 << 20;
    const Bytes table = makeTable(3);
    for (const char* save : {"000", "001"})
        tree.files[std::string("/game/saves/") + save + "/teamgear.dbf"] = std::string(table.begin(), table.end());
    tree.files["/game/toABCD.fsh"] = std::string(100 * 1024, 'a');
    tree.files["/game/toABCD_num.fsh"] = std::string(100, 'b');
    tree.files["/game/p.jer"] = encodePatch("to", exampleJersey(2));
    return tree;
}

using Records = std::vector<TeamGearRecord>;

Records recordsIn(MemoryFileSystem& files, const std::string& table)
{
    TableReport read = TeamGearTable(files, table, TableAccess::Read).readRecords();
    EXPECT_EQ(read.result, ResultCode::Read) << table;
    return read.records;
}

bool sawAll(const FaultyFileSystem& faulty, std::initializer_list<Operation> kinds)
{
    const auto& seen = faulty.operations();
    return std::all_of(kinds.begin(), kinds.end(),
                       [&](Operation kind) { return std::find(seen.begin(), seen.end(), kind) != seen.end(); });
}

// Whatever operation of an install fails, once or from some point on, and wherever a crash
// stops it: every table reads with its records or with the jersey more, an image is whole
// beside the patch or in the art folder and never partly under its final name, and the
// report says moved, in place, appended or done only for what is on disk. The program's
// install and kitloom-cli's, which looks further, are walked both.
TEST(PatchInstallFaultTest, AFaultAtAnyOperationOfAnInstallLosesNothing)
{
    const std::string images[] = {"toABCD.fsh", "toABCD_num.fsh"};
    const std::string tables[] = {"/game/saves/000/teamgear.dbf", "/game/saves/001/teamgear.dbf"};
    for (bool ownVolume : {false, true}) {
        const MemoryTree before = gameWithArtFolder(ownVolume);
        MemoryFileSystem clean(before);
        installPatch("/game/p.jer", "/art/xteam", clean);
        std::map<std::string, Records> untouched;
        std::map<std::string, Records> appended;
        for (const std::string& table : tables) {
            MemoryFileSystem unchanged(before);
            untouched[table] = recordsIn(unchanged, table);
            appended[table] = recordsIn(clean, table);
        }
        for (bool details : {false, true}) {
            const JobHooks hooks = details ? lookingAhead() : kProgramHooks;
            for (Fault fault : {Fault::FailOne, Fault::FailFromOn, Fault::CrashFromOn}) {
                for (int first = 1;; ++first) {
                    const std::string where = "fault " + std::to_string(static_cast<int>(fault)) + " from operation " +
                                              std::to_string(first) + ", own volume " + std::to_string(ownVolume) +
                                              ", looking ahead " + std::to_string(details);
                    MemoryFileSystem files(before);
                    FaultyFileSystem faulty(first, fault, files);
                    const PatchInstallReport report = installPatch("/game/p.jer", "/art/xteam", faulty, {}, hooks);
                    const bool crashed = fault == Fault::CrashFromOn;

                    for (const std::string& image : images) {
                        const std::string& bytes = before.files.at("/game/" + image);
                        const auto beside = files.tree.files.find("/game/" + image);
                        const auto there = files.tree.files.find("/art/xteam/" + image);
                        const bool inArt = there != files.tree.files.end();
                        ASSERT_TRUE(!inArt || there->second == bytes) << image << " partly there, " << where;
                        ASSERT_TRUE(inArt || (beside != files.tree.files.end() && beside->second == bytes))
                            << image << " lost, " << where;
                    }
                    for (const ImageMove& move : crashed ? std::vector<ImageMove>{} : report.images) {
                        const bool moved = move.result == MoveResult::Moved || move.inArtFolder;
                        ASSERT_TRUE(!moved || files.kindOf(move.to) == EntryKind::RegularFile)
                            << move.image << ", " << where;
                    }
                    for (const std::string& table : tables) {
                        const Records now = recordsIn(files, table);
                        ASSERT_TRUE(now == untouched.at(table) || now == appended.at(table)) << table << ", " << where;
                    }
                    if (!crashed) {
                        bool anyAppended = false;
                        for (const TableReport& table : report.job.tables) {
                            const bool isAppended = table.result == ResultCode::Appended;
                            anyAppended = anyAppended || isAppended;
                            ASSERT_TRUE(!isAppended || recordsIn(files, table.tablePath) ==
                                                           appended.at(MemoryFileSystem::normal(table.tablePath)))
                                << table.tablePath << ", " << where;
                        }
                        ASSERT_EQ(report.job.outcome == SweepOutcome::Done, anyAppended) << where;
                        if (report.read == PatchReadResult::Read && report.imagesInPlace()) {
                            for (const std::string& image : images)
                                ASSERT_TRUE(files.tree.files.count("/art/xteam/" + image)) << image << ", " << where;
                        }
                    }
                    if (!faulty.sawFault()) {
                        ASSERT_EQ(files.tree.files, clean.tree.files) << where;
                        EXPECT_TRUE(sawAll(faulty, {Operation::Open, Operation::Read, Operation::Size,
                                                    Operation::Write, Operation::Flush, Operation::Lock,
                                                    Operation::Query, Operation::CreateFolder, Operation::Rename}))
                            << where;
                        EXPECT_TRUE(!ownVolume || sawAll(faulty, {Operation::CreateTemporary, Operation::Remove}))
                            << where;
                        break;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace kitloom::test
