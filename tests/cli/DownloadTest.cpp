// Downloads as players get them: zip archives, packs and folders, installed and made.
#include "patch/PatchFormat.h"
#include "patch/ZipWriter.h"
#include "platform/Paths.h"
#include "tests/cli/CliRun.h"
#include "tests/support/ForwardingFileSystem.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstring>
#include <map>

namespace kitloom::test {
namespace {

namespace fs = std::filesystem;

// A file held in memory, for a zip made in a test.
class StringFile final : public OpenFile {
public:
    std::string bytes;
    Done readAt(std::uint64_t offset, void* buffer, std::size_t count) override
    {
        if (offset + count > bytes.size())
            return Done::failure("past the end");
        std::memcpy(buffer, bytes.data() + offset, count);
        return {};
    }
    Done writeAt(std::uint64_t offset, const void* data, std::size_t count) override
    {
        if (bytes.size() < offset + count)
            bytes.resize(offset + count);
        std::memcpy(bytes.data() + offset, data, count);
        return {};
    }
    Done size(std::uint64_t& size) override
    {
        size = bytes.size();
        return {};
    }
    Done flush() override { return {}; }
    Done truncate(std::uint64_t size) override
    {
        bytes.resize(size);
        return {};
    }
    Done lockExclusive(std::uint64_t, std::uint64_t, int) override { return {}; }
};

using Entries = std::vector<std::pair<std::string, std::string>>;

std::string zipOf(const Entries& entries)
{
    StringFile file;
    ZipWriter zip(file);
    for (const auto& [name, bytes] : entries)
        EXPECT_TRUE(zip.add(name, bytes)) << name;
    EXPECT_TRUE(zip.finish());
    return file.bytes;
}

// A patch of the jersey called `name`, its images `prefix` + name + ".fsh" and "_num.fsh".
std::string patchOf(const std::string& prefix, const std::string& name)
{
    JerseySpec spec = exampleJersey(2);
    std::fill(spec.jerseyName.begin(), spec.jerseyName.end(), '\0');
    std::copy(name.begin(), name.end(), spec.jerseyName.begin());
    return encodePatch(prefix, spec);
}

void putLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value, int size)
{
    for (int byte = 0; byte < size; ++byte)
        bytes[at + byte] = static_cast<char>(value >> (8 * byte));
}

// The first header with `signature` whose name, `nameAt` bytes in, is `name`.
std::size_t headerOf(const std::string& zip, const char* signature, std::size_t nameAt, const std::string& name)
{
    std::size_t at = zip.find(std::string(signature, 4));
    while (at != std::string::npos && zip.compare(at + nameAt, name.size(), name) != 0)
        at = zip.find(std::string(signature, 4), at + 4);
    return at;
}

// Where the local and the central header of the entry called `name` start.
std::pair<std::size_t, std::size_t> headersOf(const std::string& zip, const std::string& name)
{
    return {headerOf(zip, "PK\x03\x04", 30, name), headerOf(zip, "PK\x01\x02", 46, name)};
}

// The system's files, but no path longer than `longest` characters can be reached, as none
// past 259 could with Windows' plain calls: what it cannot reach is not there, unless asked.
class ShortPathFileSystem final : public ForwardingFileSystem {
public:
    explicit ShortPathFileSystem(std::size_t longest) : longest_(longest) {}
    bool nameTooLong(const std::string& path) override { return fullPath(path).size() > longest_; }
    bool exists(const std::string& path) override { return !nameTooLong(path) && ForwardingFileSystem::exists(path); }
    Opened openForReading(const std::string& path) override
    {
        return nameTooLong(path) ? Opened{nullptr, "not found"} : ForwardingFileSystem::openForReading(path);
    }
    std::optional<std::string> fileNamed(const std::string& folder, const std::string& name) override
    {
        return nameTooLong(folder + name) ? std::nullopt : ForwardingFileSystem::fileNamed(folder, name);
    }
    EntryKind kindOf(const std::string& path) override
    {
        return nameTooLong(path) ? EntryKind::Missing : ForwardingFileSystem::kindOf(path);
    }

private:
    std::size_t longest_;
};

// A game with save folders 000 and 001 of 3 records each, an art folder to be made, and a
// downloads folder.
class DownloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        addSaveTable(game, "000", 3);
        addSaveTable(game, "001", 3);
        fs::create_directories(downloads.path());
    }
    CliRun install(const std::vector<std::string>& paths, std::vector<std::string> more = {},
                   FileSystem& fileSystem = systemFileSystem())
    {
        std::vector<std::string> args = {"install", "--game", game.path().string(), "--art", art()};
        args.insert(args.end(), paths.begin(), paths.end());
        args.insert(args.end(), more.begin(), more.end());
        return runIt(args, fileSystem);
    }
    std::string art() const { return game / "art"; }
    std::uint32_t records(const std::string& save) const
    {
        return recordCountOf(readBytes(game.path() / "saves" / save / "teamgear.dbf"));
    }
    std::string put(const std::string& name, const std::string& bytes) const
    {
        writeBytes(downloads.path() / name, toBytes(bytes));
        return downloads / name;
    }
    TempFolder game;
    TempFolder downloads;
};

// Every way a download can be hostile or damaged: nothing of it is installed, no save or
// art folder changes, and the ERROR says what the archive is and what to do; never
// "Invalid patch file!".
TEST_F(DownloadTest, AHostileOrDamagedArchiveChangesNothingAndSaysWhy)
{
    const std::string image = "IMAGE-ONE-" + std::string(200, 'x');
    const Entries good = {{"j/home.jer", patchOf("to", "HOME")}, {"j/toHOME.fsh", image}, {"j/toHOME_num.fsh", "number"}};
    const std::string zip = zipOf(good);

    std::map<std::string, std::pair<std::string, std::string>> cases;  // name: bytes, reason
    std::string crc = zip;
    crc[crc.find(image) + 50] ^= 1;
    cases["crc"] = {crc, "the download is damaged: CRC mismatch in " + (downloads / "crc.zip") + ": j/"};
    cases["cut"] = {zip.substr(0, zip.size() / 2), "the download is damaged or incomplete"};
    cases["7z"] = {std::string("7z\xBC\xAF\x27\x1C", 6) + std::string(64, '\0'),
                   "is a 7z archive: Kitloom reads zip archives; unpack it and install the folder"};
    std::string tar(1024, '\0');
    tar.replace(0, 8, "home.jer");
    tar.replace(257, 5, "ustar");
    cases["tar"] = {tar, "is a tar archive: Kitloom reads zip archives"};
    cases["not"] = {"just some text, named like a zip", "is not a zip archive"};
    cases["none"] = {zipOf({{"readme.txt", "no patch here"}}), "holds no jersey patch (.jer)"};

    auto withHeaders = [&](const std::string& name, auto change) {
        std::string bytes = zip;
        const auto [local, central] = headersOf(bytes, name);
        change(bytes, local, central);
        return bytes;
    };
    cases["encrypted"] = {withHeaders("j/toHOME.fsh",
                                      [](std::string& bytes, std::size_t local, std::size_t central) {
                                          putLittleEndian(bytes, local + 6, 1, 2);
                                          putLittleEndian(bytes, central + 8, 1, 2);
                                      }),
                          "j/toHOME.fsh is encrypted: unpack the archive with its password first"};
    cases["bzip2"] = {withHeaders("j/home.jer",
                                  [](std::string& bytes, std::size_t local, std::size_t central) {
                                      putLittleEndian(bytes, local + 8, 12, 2);
                                      putLittleEndian(bytes, central + 10, 12, 2);
                                  }),
                      "j/home.jer is compressed with method 12 (bzip2), which Kitloom does not read"};
    cases["huge"] = {withHeaders("j/toHOME.fsh",
                                 [](std::string& bytes, std::size_t local, std::size_t central) {
                                     putLittleEndian(bytes, local + 22, 40u << 20, 4);
                                     putLittleEndian(bytes, central + 24, 40u << 20, 4);
                                 }),
                     "j/toHOME.fsh is larger than any jersey image (32 MiB)"};
    cases["bomb"] = {withHeaders("j/toHOME.fsh",
                                 [](std::string& bytes, std::size_t local, std::size_t central) {
                                     putLittleEndian(bytes, local + 22, 10, 4);
                                     putLittleEndian(bytes, central + 24, 10, 4);
                                 }),
                     "is not the size its archive states"};
    Entries many;
    for (int entry = 0; entry <= 4096; ++entry)
        many.push_back({"f" + std::to_string(entry), ""});
    cases["many"] = {zipOf(many), "holds more than 4096 entries"};

    for (const auto& [name, bytesAndReason] : cases) {
        const std::string path = put(name + ".zip", bytesAndReason.first);
        for (const std::vector<std::string>& more : {std::vector<std::string>{"--dry-run"}, {}, {"--images-later"}}) {
            const CliRun run = install({path}, more);
            EXPECT_EQ(run.status, 1) << name;
            EXPECT_NE(run.err.find(bytesAndReason.second), std::string::npos) << name << ": " << run.err;
            EXPECT_EQ(run.err.find("Invalid patch file"), std::string::npos) << name << ": " << run.err;
            EXPECT_EQ(records("000"), 3u) << name;
            EXPECT_EQ(records("001"), 3u) << name;
            EXPECT_FALSE(fs::exists(art() + "/toHOME.fsh")) << name;
            EXPECT_FALSE(fs::exists(art() + "/toHOME_num.fsh")) << name;
        }
    }
    // The zip itself, whole, goes in; no name from its directory is written anywhere.
    const CliRun run = install({put("good.zip", zip)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(records("000"), 4u);
    EXPECT_EQ(readBytes(art() + "/toHOME.fsh"), toBytes(image));
    EXPECT_FALSE(fs::exists(game.path() / "j"));
    EXPECT_FALSE(fs::exists(fs::path(art()) / "j"));
}

// A pack: each patch in the order of its path, named before its lines; images taken from
// the patch's own folder, else from the one place that holds that name, never from one of
// several; a second install changes nothing; zipped or unpacked alike.
TEST_F(DownloadTest, APackInstallsEachPatchInOrderAndASecondTimeChangesNothing)
{
    const Entries pack = {{"pack/b/away.jer", patchOf("aw", "AWAY")},
                          {"pack/images/AWAWAY.FSH", "away image"},
                          {"pack/images/awAWAY_num.fsh", "away number"},
                          {"pack/a/home.jer", patchOf("ho", "HOME")},
                          {"pack/a/hoHOME.fsh", "home image"},
                          {"pack/a/hoHOME_num.fsh", "home number"},
                          {"pack/images/hoHOME.fsh", "another home image, not taken"},
                          {"pack/c/third.jer", patchOf("th", "THRD")},
                          {"pack/c/thTHRD.fsh", "third image"},
                          {"pack/x/thTHRD_num.fsh", "one"},
                          {"pack/y/thTHRD_num.fsh", "two"}};
    const std::string zip = put("pack.zip", zipOf(pack));
    // Unpacked, the decoy goes: once the first install has moved the patch's own image away,
    // the decoy would be the one place left with that name.
    for (const auto& [name, bytes] : pack) {
        if (name != "pack/images/hoHOME.fsh")
            put("unpacked/" + name, bytes);
    }
    const std::string folder = downloads / "unpacked";

    int round = 0;
    for (const std::string& download : {folder, zip}) {
        SCOPED_TRACE(download);
        const CliRun first = install({download});
        EXPECT_EQ(first.status, 1) << "the third patch has two candidates for an image";
        const std::size_t home = first.out.find(download + ": pack/a/home.jer:\n");
        const std::size_t away = first.out.find(download + ": pack/b/away.jer:\n");
        const std::size_t third = first.out.find(download + ": pack/c/third.jer:\n");
        EXPECT_TRUE(home < away && away < third) << first.out;
        EXPECT_NE(first.err.find("Couldn't move thTHRD_num.fsh"), std::string::npos) << first.err;
        EXPECT_NE(first.err.find("pack/x/thTHRD_num.fsh"), std::string::npos) << first.err;
        EXPECT_NE(first.err.find("pack/y/thTHRD_num.fsh"), std::string::npos) << first.err;
        EXPECT_NE(first.err.find(download + ": 3 patches, " + (round == 0 ? "2 went in, 0" : "0 went in, 2") +
                                 " were already there, 1 failed"),
                  std::string::npos)
            << first.err;
        EXPECT_EQ(records("000"), 5u);
        EXPECT_EQ(readBytes(art() + "/hoHOME.fsh"), toBytes("home image"));
        EXPECT_EQ(readBytes(art() + "/awAWAY.fsh"), toBytes("away image")) << "under the name the patch gives";
        EXPECT_FALSE(fs::exists(art() + "/thTHRD.fsh")) << "the third patch went in whole or not at all";

        const auto artBefore = readBytes(art() + "/awAWAY_num.fsh");
        const CliRun second = install({download});
        EXPECT_NE(second.err.find("0 went in, 2 were already there, 1 failed"), std::string::npos) << second.err;
        EXPECT_EQ(records("000"), 5u);
        EXPECT_EQ(records("001"), 5u);
        EXPECT_EQ(readBytes(art() + "/awAWAY_num.fsh"), artBefore);
        ++round;
    }
    EXPECT_TRUE(fs::exists(zip)) << "a zip is never changed";
    EXPECT_FALSE(fs::exists(downloads.path() / "unpacked/pack/a/hoHOME.fsh")) << "a folder's images are moved";
}

// A lone patch whose images are missing, in a folder where an archive program puts one file
// taken out of a zip: the hint says to open the zip itself, or unpack it first.
TEST_F(DownloadTest, APatchOpenedFromInsideAnArchiveSaysToOpenTheZipItself)
{
    for (const char* copy : {"Temp1_jerseys.zip", "7zO1A2B3C4D", ".fr-Ab12Cd"}) {
        const std::string patch = put(std::string(copy) + "/home.jer", patchOf("to", "HOME"));
        const CliRun run = install({patch});
        EXPECT_EQ(run.status, 1) << copy;
        EXPECT_NE(run.err.find("hint: the patch was opened from inside an archive"), std::string::npos)
            << copy << ": " << run.err;
        EXPECT_NE(run.err.find("install the zip itself with Kitloom, or unpack the whole zip first"), std::string::npos)
            << run.err;
        EXPECT_EQ(records("000"), 3u);
    }
    const CliRun plain = install({put("mine/home.jer", patchOf("to", "HOME"))});
    EXPECT_EQ(plain.err.find("from inside an archive"), std::string::npos) << plain.err;
}

// The zip a player shares, made by pack or make-patch --zip, installs exactly; the same
// patches give the same bytes; a missing image writes no zip.
TEST_F(DownloadTest, APackMadeForSharingInstallsExactly)
{
    const std::string patch = put("mine/home.jer", patchOf("to", "HOME"));
    put("mine/toHOME.fsh", "home image");
    put("mine/TOHOME_NUM.FSH", "home number");
    const std::string zip = downloads / "share.zip";
    ASSERT_EQ(runIt({"pack", patch, "-o", zip}).status, 0);
    const Bytes first = readBytes(zip);
    ASSERT_EQ(runIt({"pack", patch, "-o", zip}).status, 0);
    EXPECT_EQ(readBytes(zip), first) << "reproducible";

    const CliRun show = runIt({"show", zip});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find(zip + ": home/home.jer:\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("Image toHOME_num.fsh: " + zip + ": home/toHOME_num.fsh"), std::string::npos) << show.out;

    const CliRun dryRun = install({zip}, {"--dry-run", "--json"});
    EXPECT_EQ(dryRun.status, 0) << dryRun.err;
    const auto document = nlohmann::json::parse(dryRun.out);
    EXPECT_EQ(document["downloads"][0]["kind"], "zip");
    const auto& shown = document["downloads"][0]["patches"][0];
    EXPECT_EQ(shown["patch"], "home/home.jer");
    EXPECT_EQ(shown["jersey"]["name"], "HOME");
    EXPECT_EQ(shown["tables"][1]["added"], 4);
    EXPECT_EQ(shown["images"][1]["to"], art() + kPathSeparator + "toHOME_num.fsh");
    EXPECT_NE(dryRun.err.find("would be copied to"), std::string::npos) << "the report goes to the error stream";
    EXPECT_EQ(records("000"), 3u);

    const CliRun installed = install({zip});
    EXPECT_EQ(installed.status, 0) << installed.err;
    EXPECT_EQ(records("000"), 4u);
    EXPECT_EQ(readBytes(art() + "/toHOME.fsh"), toBytes("home image"));
    EXPECT_EQ(readBytes(art() + "/toHOME_num.fsh"), toBytes("home number"));
    EXPECT_TRUE(fs::exists(downloads.path() / "mine/toHOME.fsh")) << "packing moves nothing";

    // make-patch --zip makes the same zip for the patch it writes.
    {
        ScopedCurrentFolder inMine(downloads.path() / "mine");
        const CliRun made = runIt({"make-patch", "--prefix", "to", "--file", "home", "--team", "5", "--name", "HOME",
                                   "--year", "1998-99", "--zip"});
        EXPECT_EQ(made.status, 0) << made.err;
    }
    EXPECT_TRUE(fs::exists(downloads.path() / "mine/home.zip"));

    fs::remove(downloads.path() / "mine/TOHOME_NUM.FSH");
    const std::string refused = downloads / "refused.zip";
    const CliRun missing = runIt({"pack", patch, "-o", refused});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("toHOME_num.fsh is not beside"), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(refused));
}

// A path the system cannot take is named with its reason before anything changes: an image
// beside the patch is never "not beside" it, and a patch never a bare "Couldn't open".
TEST_F(DownloadTest, APathTooLongForTheSystemIsRefusedWithItsReasonBeforeAnythingChanges)
{
    const std::string patch = put("a-folder-deep-enough-for-the-images/toabcd.jer", patchOf("to", "ABCD"));
    const std::string image = put("a-folder-deep-enough-for-the-images/toABCD.fsh", "image");
    const std::string numberImage = put("a-folder-deep-enough-for-the-images/toABCD_num.fsh", "number");
    ShortPathFileSystem shortPaths(systemFileSystem().fullPath(image).size());
    ASSERT_FALSE(shortPaths.nameTooLong(game / "saves/000/teamgear.dbf"));
    for (const bool dryRun : {true, false}) {
        const CliRun run = install({patch}, dryRun ? std::vector<std::string>{"--dry-run"} : std::vector<std::string>{},
                                   shortPaths);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find("Couldn't move toABCD_num.fsh to " + art()), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("(name too long: " + systemFileSystem().fullPath(numberImage) + ")"), std::string::npos)
            << run.err;
        EXPECT_EQ(run.err.find("not beside"), std::string::npos) << run.err;
        EXPECT_EQ(records("000"), 3u);
        EXPECT_EQ(readBytes(image), toBytes("image"));
        EXPECT_FALSE(fs::exists(art() + "/toABCD.fsh"));
    }

    ShortPathFileSystem shorter(systemFileSystem().fullPath(patch).size() - 1);
    const std::string why = " (" + patch + ": ";
    for (const std::string command : {"install", "show"}) {
        const CliRun run = command == "show" ? runIt({"show", patch}, shorter) : install({patch}, {}, shorter);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err.rfind("ERROR: Couldn't open the patch file!" + why, 0), 0u) << run.err;
        EXPECT_GT(run.err.size(), ("ERROR: Couldn't open the patch file!" + why + ")\n").size()) << "a reason";
    }
    EXPECT_EQ(records("000"), 3u);
}

#ifndef _WIN32
// A patch names its images in code page 1252, an unzipped download holds them in UTF-8: the
// image is found under either, goes into the art folder under the UTF-8 name the game reads
// under Wine, and the report shows it in UTF-8.
TEST_F(DownloadTest, AnImageNameWithALetterBeyondAsciiIsFoundAndToldInUtf8)
{
    const std::string patch = put("mine/munc.jer", patchOf("to", "M\xDCNC"));
    put("mine/toM\xC3\x9CNC.fsh", "image");
    put("mine/toM\xC3\x9CNC_num.fsh", "number");
    const CliRun run = install({patch});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(art() + "/toM\xC3\x9CNC.fsh"), toBytes("image"));
    EXPECT_EQ(readBytes(art() + "/toM\xC3\x9CNC_num.fsh"), toBytes("number"));
    EXPECT_EQ((run.out + run.err).find('\xDC'), std::string::npos) << "no code page byte reaches the terminal";

    fs::remove(art() + "/toM\xC3\x9CNC.fsh");
    const CliRun missing = install({put("other/munc.jer", patchOf("to", "M\xDCNC"))}, {"--again"});
    EXPECT_NE(missing.err.find("Couldn't move toM\xC3\x9CNC.fsh"), std::string::npos) << missing.err;
    EXPECT_EQ(missing.err.find('\xDC'), std::string::npos) << missing.err;
}
#endif

}  // namespace
}  // namespace kitloom::test
