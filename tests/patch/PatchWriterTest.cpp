#include "jobs/SystemMessages.h"
#include "patch/PatchFormat.h"
#include "patch/PatchWriter.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace kitloom::test {
namespace {

// exampleJersey(9): Shoe row 7, carried in a patch as 9.
const Bytes kTorontoTrailer = {0x05, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x41, 0x42, 0x43, 0x44, 0x31,
                               0x39, 0x39, 0x38, 0x2D, 0x39, 0x39, 0x03, 0x00, 0x00, 0x00, 0x09, 0x00, 0x00,
                               0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};

class PatchWriterTest : public ::testing::Test {
protected:
    // Stems are relative to the current folder, as the dialog's are.
    bool write(const std::string& stem, const JerseySpec& spec = exampleJersey(9))
    {
        const PatchWriteReport report = writePatchFile("to", stem, spec, systemFileSystem());
        show(messages,
             systemMessage(report.written ? MessageId::PatchCreated : MessageId::CannotWritePatch, {report.fileName}));
        return report.written;
    }

    TempFolder folder;
    ScopedCurrentFolder inFolder{folder.path()};
    RecordingMessages messages;
};

TEST_F(PatchWriterTest, WritesTheExamplePatchByteForByte)
{
    ASSERT_TRUE(write("toronto_98"));

    Bytes expected = toBytes("\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n");
    expected.insert(expected.end(), kTorontoTrailer.begin(), kTorontoTrailer.end());
    EXPECT_EQ(expected.size(), 69u);
    EXPECT_EQ(readBytes(folder / "toronto_98.jer"), expected);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Patch file created: toronto_98.jer")});
}

TEST_F(PatchWriterTest, ALineFeedByteInTheTrailerStaysOneByte)
{
    JerseySpec spec = exampleJersey(9);
    spec.teamNumber = 10;
    ASSERT_TRUE(write("team10", spec));
    Bytes patch = readBytes(folder / "team10.jer");
    ASSERT_EQ(patch.size(), 69u);
    EXPECT_EQ(Bytes(patch.begin() + 30, patch.begin() + 34), (Bytes{10, 0, 0, 0}));
}

TEST_F(PatchWriterTest, StemIsUsedAsGivenAndAnExistingFileIsReplacedWhole)
{
    ASSERT_TRUE(write("already.jer"));
    EXPECT_EQ(readBytes(folder / "already.jer.jer").size(), 69u);

    writeBytes(folder / "toronto_98.jer", Bytes(5000, 'x'));
    ASSERT_TRUE(write("toronto_98"));
    EXPECT_EQ(readBytes(folder / "toronto_98.jer"), readBytes(folder / "already.jer.jer"));
}

TEST_F(PatchWriterTest, AStemItCannotHoldIsRefusedNotCut)
{
    const std::string longest(75, 's');
    ASSERT_TRUE(write(longest));
    EXPECT_TRUE(std::filesystem::exists(folder / (longest + ".jer")));

    messages.shown.clear();
    EXPECT_FALSE(write(longest + "t"));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Couldn't write the patch file " + longest + "t.jer!")});
}

TEST_F(PatchWriterTest, APatchThatCannotBeWrittenIsReportedAndLeavesNothing)
{
    std::filesystem::create_directories(folder.path() / "taken.jer");  // a folder where the file would go
    EXPECT_FALSE(write("taken"));
    EXPECT_FALSE(write("no-such-folder/patch"));
    EXPECT_EQ(messages.shown,
              (std::vector<ShownMessage>{error("Couldn't write the patch file taken.jer!"),
                                         error("Couldn't write the patch file no-such-folder/patch.jer!")}));
    int entries = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 1) << "only the folder that was there";
}

#ifndef _WIN32
// Root writes through permission bits, so an immutable file stands in for a read-only one.
TEST_F(PatchWriterTest, AnUnwritablePatchIsNotReplaced)
{
    writeBytes(folder / "kept.jer", toBytes("earlier patch"));
    if (std::system(("chattr +i '" + (folder / "kept.jer") + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no chattr on this file system";
    const bool written = write("kept");
    std::system(("chattr -i '" + (folder / "kept.jer") + "'").c_str());

    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(folder / "kept.jer"), toBytes("earlier patch"));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Couldn't write the patch file kept.jer!")});
}

TEST_F(PatchWriterTest, AReplacedPatchKeepsItsMode)
{
    namespace fs = std::filesystem;
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;
    writeBytes(folder / "kept.jer", toBytes("earlier patch"));
    fs::permissions(folder / "kept.jer", mode);
    ASSERT_TRUE(write("kept"));
    EXPECT_EQ(readBytes(folder / "kept.jer").size(), 69u);
    EXPECT_EQ(fs::status(folder / "kept.jer").permissions(), mode);
}
#endif

TEST(PatchFormatTest, TrailerReadsBackAsWritten)
{
    std::string bytes = encodePatch("to", exampleJersey(9));
    JerseySpec read = decodeTrailer(std::string_view(bytes).substr(bytes.size() - 39));
    EXPECT_EQ(std::memcmp(&read.jerseyName, "ABCD", 4), 0);
    EXPECT_EQ(std::string(read.year.data()), "1998-99");
    EXPECT_EQ(read.teamNumber, 5);
    EXPECT_EQ(read.shoe, 9);
    EXPECT_EQ(read.letteringType, 1);
}

TEST(PatchFormatTest, HeaderLinesAreReadAsTheInstallerReadsThem)
{
    using Lines = PatchLines;
    EXPECT_EQ(readPatchLines("\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n"), (Lines{"", "toABCD.fsh", "toABCD_num.fsh"}));
    EXPECT_EQ(readPatchLines("001\na b.fsh \nc\r\n"), (Lines{"001", "a b.fsh ", "c"})) << "bare LF, spaces kept";
    EXPECT_EQ(readPatchLines("one\r\ntwo"), (Lines{"one", "two", ""})) << "end of file mid-line";
    EXPECT_EQ(readPatchLines("a\rb\r\n"), (Lines{"a\rb", "", ""})) << "a lone CR is a character";
    EXPECT_EQ(readPatchLines(std::string_view("ab\0cd\r\nx\r\n", 10)), (Lines{"ab", "x", ""}));

    const std::string line79(79, 'q');
    EXPECT_EQ(readPatchLines(line79 + "\r\nimage.fsh\r\nimage_num.fsh\r\n"), (Lines{line79, "", "image.fsh"}));
    const std::string line100(100, 'r');
    EXPECT_EQ(readPatchLines(line100 + "\r\nx\r\n"), (Lines{line100.substr(0, 79), line100.substr(79), "x"}));

    // What the lines take from the file, where the trailer must not begin before.
    EXPECT_EQ(readPatchHeader("\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\ntrailer").bytes, 30u);
    EXPECT_EQ(readPatchHeader("\xEF\xBB\xBF"
                              "001\nb\nc")
                  .bytes,
              10u)
        << "a byte-order mark counts";
    EXPECT_EQ(readPatchHeader("\xEF\xBB\xBF"
                              "001\nb\nc")
                  .lines,
              (Lines{"001", "b", "c"}));
}

TEST(PatchFormatTest, PlainNames)
{
    for (const char* good : {"001", "1", "toABCD.fsh", "a b", " ", "..a", "x..", "CONX.fsh", "COM0", "LPT", "xnul"})
        EXPECT_TRUE(isPlainName(good)) << good;
    for (const char* bad : {"", ".", "..", "..\\x", "../x", "a/b", "c:x", "*.fsh", "a?", "\"a\"", "<", ">", "a|b",
                            "CON", "nul.fsh", "Aux.a.b", "prn", "com1.fsh", "LPT9"})
        EXPECT_FALSE(isPlainName(bad)) << bad;
}

}  // namespace
}  // namespace kitloom::test
