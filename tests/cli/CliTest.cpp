#include "cli/Cli.h"
#include "cli/JerseyOptions.h"
#include "form/FormCommands.h"

#include "patch/PatchFormat.h"
#include "patch/PatchWriter.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace kitloom::test {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun runIt(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCli(args, out, err);
    return {status, out.str(), err.str()};
}

using Args = std::vector<std::string>;

Args operator+(Args left, const Args& right)
{
    left.insert(left.end(), right.begin(), right.end());
    return left;
}

// Every file under `folder` with its bytes, to show that nothing changed.
std::map<std::string, Bytes> snapshot(const fs::path& folder)
{
    std::map<std::string, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files[entry.path().string()] = entry.is_regular_file() ? readBytes(entry.path()) : Bytes{};
    return files;
}

const Args kJersey = {"--team", "5", "--name", "ABCD", "--year", "1998-99"};
// The same choices on the command line and as the form's rows.
const Args kChoices = {"--type",  "away",  "--accessory", "navy BLUE", "--shoe",      "7",
                       "--sock",  "WHITE", "--neck",      "v-neck 2",  "--lettering", "horiz"};
JerseyForm formOf(bool withChoices)
{
    JerseyForm form;
    form.teamNumber = "5";
    form.jerseyName = "ABCD";
    form.year = "1998-99";
    if (withChoices)
        form.rows = {1, 3, 7, 1, 2, 1};  // in the lists' order
    return form;
}

// A game folder with save folders 000 and 001 of 3 records each.
class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        addSaveTable(game, "000", 3);
        addSaveTable(game, "001", 3);
    }
    Args inGame() const { return {"--game", game.path().string()}; }
    Bytes table(const std::string& folder) const { return readBytes(game.path() / "saves" / folder / "teamgear.dbf"); }
    std::string gamePatch(const std::string& name) const { return game / name; }

    TempFolder game;
};

TEST_F(CliTest, AddPutsTheSameRecordsIntoTheSavesAsGoWithTheSameChoices)
{
    for (bool withChoices : {false, true}) {
        TempFolder formGame;
        addSaveTable(formGame, "000", 3);
        addSaveTable(formGame, "001", 3);
        RecordingMessages messages;
        ASSERT_TRUE(installFromForm(formOf(withChoices), systemFileSystem(), messages, formGame.prefix()));

        TempFolder cliGame;
        addSaveTable(cliGame, "000", 3);
        addSaveTable(cliGame, "001", 3);
        const CliRun run = runIt(Args{"add", "--game", cliGame.path().string()} + kJersey + (withChoices ? kChoices : Args{}));
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, "SUCCESS: Jersey Installed Succesfully\n");
        EXPECT_EQ(run.err, "");
        for (const char* folder : {"000", "001"}) {
            const std::string table = std::string("saves/") + folder + "/teamgear.dbf";
            EXPECT_EQ(readBytes(cliGame.path() / table), readBytes(formGame.path() / table)) << table;
        }
    }
}

TEST_F(CliTest, ListAfterAddShowsTheNewRecordDecoded)
{
    ASSERT_EQ(runIt(Args{"add", "--slot", "001"} + inGame() + kJersey + kChoices).status, 0);
    CliRun run = runIt(Args{"list", "--slot", "001"} + inGame());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(run.out.rfind("4: ")),
              "4: record=4 team=5 type=1 (Away) name=\"ABCD\" year=\"1998-99\" accessory=5 (Navy Blue) shoe=8 "
              "sock=1 (White) neck=2 (V-Neck 2 (eg Marovans 2002)) lettering=1 (Horizontal over numbers)\n");

    run = runIt(Args{"list", "--json"} + Args{(game.path() / "saves" / "001" / "teamgear.dbf").string()});
    EXPECT_EQ(run.out.substr(run.out.rfind("{\"position\":4")),
              "{\"position\":4,\"record\":\"4\",\"team\":\"5\",\"type\":\"1\",\"typeLabel\":\"Away\",\"name\":\"ABCD\","
              "\"year\":\"1998-99\",\"accessory\":\"5\",\"accessoryLabel\":\"Navy Blue\",\"shoe\":\"8\",\"sock\":\"1\","
              "\"sockLabel\":\"White\",\"neck\":\"2\",\"neckLabel\":\"V-Neck 2 (eg Marovans 2002)\",\"lettering\":\"1\","
              "\"letteringLabel\":\"Horizontal over numbers\"}\n");
    EXPECT_EQ(recordCountOf(table("000")), 3u) << "a Save Slot names one folder only";
}

TEST_F(CliTest, RefusedJobsShowTheProgramsMessageAndChangeNothing)
{
    const auto before = snapshot(game.path());
    struct Case {
        Args args;
        std::string error;
    };
    const Case cases[] = {
        {Args{"add", "--name", "ABCD"} + inGame(), "You forgot to fill in a field!"},
        {Args{"add", "--team", "123", "--name", "ABC", "--year", "1998-99"} + inGame(),
         "The jersey name wasn't the right length!"},
        {Args{"add", "--slot", "7"} + inGame() + kJersey, "Invalid Directory!"},
        {Args{"add", "--game", (game / "saves")} + kJersey, "Invalid Save Slot"},
        {Args{"make-patch", "--prefix", "t", "--file", gamePatch("p")} + kJersey, "Invalid Field"},
        {Args{"make-patch", "--prefix", "to", "--file", std::string(76, 'f')} + kJersey, "Invalid Field"},
        {Args{"make-patch", "--prefix", "a/", "--file", gamePatch("p")} + kJersey, "Invalid Field"},
        {Args{"make-patch", "--prefix", "to", "--file", gamePatch("p"), "--team", "5", "--name", "A:*?", "--year",
              "1998-99"},
         "Invalid Field"},
        {Args{"make-patch", "--prefix", "t", "--file", gamePatch("p"), "--year", "1998"}, "You forgot to fill in a field!"},
        {Args{"install", gamePatch("missing.jer")}, "Couldn't open the patch file!"},
        {Args{"show", gamePatch("missing.jer")}, "Couldn't open the patch file!"},
        {Args{"list", "--slot", "7"} + inGame(), "Invalid Directory!"},
    };
    for (const Case& c : cases) {
        const CliRun run = runIt(c.args);
        EXPECT_EQ(run.status, 1) << c.error;
        EXPECT_EQ(run.err, "ERROR: " + c.error + "\n");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(snapshot(game.path()), before);
}

TEST_F(CliTest, UsageErrorsGiveStatusTwoAndOneHintLineAndChangeNothing)
{
    writeBytes(game / "p.jer", toBytes(encodePatch("to", JerseySpec{})));
    const auto before = snapshot(game.path());
    const Args cases[] = {
        {},
        {"dress"},
        Args{"add", "--accessory", "pink"} + kJersey,
        Args{"add", "--accessory", "dark"} + kJersey,  // Dark Green, Dark Red, ...
        Args{"add", "--shoe", "52"} + kJersey,
        Args{"add", "--neck", "-1"} + kJersey,
        Args{"add", "--team", "5x", "--name", "ABCD", "--year", "1998-99"},
        Args{"add", "--slot", "../000"} + kJersey,
        Args{"add", "--slot", ""} + kJersey,  // an unset variable in a script: not every save
        Args{"add", "--slot="} + kJersey,
        Args{"add", "--team", "5", "--team", "6"},
        Args{"add", "--year"},
        Args{"make-patch", "--slot", "000", "--prefix", "to", "--file", "x"} + kJersey,
        {"install"},
        {"install", gamePatch("p.jer"), "--art", ""},
        {"show"},
        {"list", "--slot", "000", gamePatch("p.jer")},
        {"list", "--slot", "..", "--game", game.path().string()},
    };
    for (const Args& args : cases) {
        const CliRun run = runIt(args);
        const std::string shown = args.empty() ? "(none)" : args[0] + (args.size() > 1 ? " " + args[1] : "");
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_EQ(run.err.rfind("usage: ", 0), 0u) << shown;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << shown << ": " << run.err;
        EXPECT_EQ(run.out, "") << shown;
    }
    EXPECT_EQ(snapshot(game.path()), before);
}

TEST(CliLists, LabelsMatchInAnyCaseByUniqueBeginningOrByRow)
{
    struct Case {
        JerseyList list;
        const char* value;
        int row;  // -1: refused
    };
    const Case cases[] = {
        {JerseyList::AccessoryColour, "royal blue", 2}, {JerseyList::AccessoryColour, "GREY", 15},
        {JerseyList::AccessoryColour, "tu", 11},        {JerseyList::AccessoryColour, "t", -1},
        {JerseyList::AccessoryColour, "15", 15},        {JerseyList::AccessoryColour, "16", -1},
        {JerseyList::LetteringType, "arched", 0},       {JerseyList::NeckType, "V Neck 1", 1},
        {JerseyList::NeckType, "v-neck", -1},           {JerseyList::Shoe, "51", 51},
        {JerseyList::Shoe, "99999999999", -1},          {JerseyList::SockColour, "", -1},
    };
    for (const Case& c : cases) {
        int row = -1;
        std::string problem;
        EXPECT_EQ(cli::matchRow(c.list, c.value, row, problem), c.row >= 0) << c.value;
        if (c.row >= 0)
            EXPECT_EQ(row, c.row) << c.value;
        else
            EXPECT_FALSE(problem.empty()) << c.value;
    }
}

TEST_F(CliTest, MakePatchWritesTheSameBytesAsTheProgramsWriter)
{
    ScopedCurrentFolder here(game.path());
    const CliRun run = runIt(Args{"make-patch", "--prefix", "to", "--file", "toronto_98"} + kJersey + kChoices);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "SUCCESS: Patch file created: toronto_98.jer\n");

    RecordingMessages messages;
    ASSERT_TRUE(writePatchFile("to", "written", readJerseyForm(formOf(true), ShoeCode::InPatch), systemFileSystem(),
                               messages));
    EXPECT_EQ(readBytes(game / "toronto_98.jer"), readBytes(game / "written.jer"));

    const CliRun shown = runIt({"show", "toronto_98.jer"});
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out,
              "Save Slot: (none: every numbered save folder)\n"
              "Image: \"toABCD.fsh\"\n"
              "Number image: \"toABCD_num.fsh\"\n"
              "Team Number: 5\n"
              "Jersey Type: 1 (Away)\n"
              "Jersey Name: \"ABCD\"\n"
              "Year: \"1998-99\"\n"
              "Accessory Colour: 5 (Navy Blue)\n"
              "Shoe: 9 (row 7)\n"
              "Sock Colour: 1 (White)\n"
              "Neck Type: 2 (V-Neck 2 (eg Marovans 2002))\n"
              "Lettering Type: 1 (Horizontal over numbers)\n");
}

TEST_F(CliTest, ShowMarksCodesOutsideTheListsAndRefusesUnsafeNames)
{
    JerseySpec odd;
    odd.jerseyType = 3;
    odd.accessoryColour = 1;
    odd.shoe = 54;
    const std::string bytes = "007\r\ntoABCD.fsh\r\n\r\n" + encodePatch("to", odd).substr(30);
    writeBytes(game / "odd.jer", toBytes(bytes));
    const CliRun run = runIt({"show", gamePatch("odd.jer")});
    EXPECT_NE(run.out.find("Save Slot: \"007\"\n"), std::string::npos);
    EXPECT_NE(run.out.find("Jersey Type: 3 (not in the list)\n"), std::string::npos);
    EXPECT_NE(run.out.find("Jersey Name: \"\\x00\\x00\\x00\\x00\"\n"), std::string::npos);
    EXPECT_NE(run.out.find("Accessory Colour: 1 (not in the list)\n"), std::string::npos);
    EXPECT_NE(run.out.find("Shoe: 54 (not in the list)\n"), std::string::npos);

    writeBytes(game / "escape.jer", toBytes("\r\n../toABCD.fsh\r\nx\r\n" + std::string(39, '\0')));
    EXPECT_EQ(runIt({"show", gamePatch("escape.jer")}).err, "ERROR: Invalid patch file!\n");
}

TEST_F(CliTest, InstallGoesThroughEveryPatchAndFailsWhenAnyJobDid)
{
    JerseySpec spec;
    std::string trailer = encodePatch("to", spec).substr(30);
    writeBytes(game / "sweep.jer", toBytes("\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n" + trailer));
    writeBytes(game / "one.jer", toBytes("001\r\nxyABCD.fsh\r\n\r\n" + trailer));
    writeBytes(game / "toABCD.fsh", toBytes("image"));
    writeBytes(game / "toABCD_num.fsh", toBytes("number image"));
    writeBytes(game / "bad.jer", toBytes("short"));
    const std::string art = game / "art";

    CliRun run = runIt({"install", gamePatch("bad.jer"), gamePatch("sweep.jer"), "--art", art});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, gamePatch("bad.jer") + ":\n" + gamePatch("sweep.jer") + ":\nSUCCESS: Jersey Installed Succesfully\n");
    EXPECT_EQ(run.err, "ERROR: Invalid patch file!\n");
    EXPECT_EQ(recordCountOf(table("000")), 4u);
    EXPECT_EQ(readBytes(game / "art/toABCD_num.fsh"), toBytes("number image"));

    run = runIt({"install", gamePatch("one.jer"), "--art", art});
    EXPECT_EQ(run.status, 1) << "an image that did not arrive fails the job";
    EXPECT_EQ(run.out, "SUCCESS: Jersey Installed Succesfully!\n");
    EXPECT_EQ(run.err, "ERROR: Couldn't move xyABCD.fsh to " + art + kPathSeparator + "\n");
    EXPECT_EQ(recordCountOf(table("001")), 5u);

    run = runIt({"install", gamePatch("sweep.jer"), "--art", art});
    EXPECT_EQ(run.status, 0) << "images already in the art folder are fine";
    EXPECT_EQ(run.out, "SUCCESS: Jersey Installed Succesfully\n");
}

#ifndef _WIN32
TEST_F(CliTest, InstallTakesImagesFromThePatchFolderIntoTheGamesArtFolderByDefault)
{
    JerseySpec spec;
    std::copy_n("ABCD", 4, spec.jerseyName.begin());
    const std::string patch = game / "downloads/p.jer";
    writeBytes(patch, toBytes(encodePatch("to", spec)));
    writeBytes(game / "downloads/toABCD.fsh", toBytes("image"));
    writeBytes(game / "downloads/toABCD_num.fsh", toBytes("number image"));
    fs::create_directories(game.path() / "render");
    const CliRun run = runIt({"install", patch, "--game", game.path().string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(game.path() / "render/xteam/toABCD.fsh"));
    EXPECT_TRUE(fs::exists(game.path() / "render/xteam/toABCD_num.fsh"));
    EXPECT_EQ(recordCountOf(table("001")), 4u);
}
#endif

TEST_F(CliTest, ListRefusesDamagedTablesAndEscapesOddBytes)
{
    Bytes bytes = makeTable(1);
    const std::string name = std::string("\"\0\xE9\\", 4);
    std::copy(name.begin(), name.end(), bytes.end() - 20);
    writeBytes(game.path() / "saves/000/teamgear.dbf", bytes);
    CliRun run = runIt(Args{"list", "--json"} + inGame());
    EXPECT_NE(run.out.find("\"name\":\"\\\"\\u0000\\u00e9\\\\\""), std::string::npos) << run.out;
    run = runIt(Args{"list"} + inGame());
    EXPECT_NE(run.out.find("name=\"\\\"\\x00\\xe9\\\\\""), std::string::npos) << run.out;

    bytes[4] = 2;
    writeBytes(game.path() / "saves/000/teamgear.dbf", bytes);
    run = runIt(Args{"list"} + inGame());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "ERROR: The team gear file is damaged!\n");

    writeBytes(game.path() / "saves/000/teamgear.dbf", makeTable(0, true));
    run = runIt(Args{"list"} + inGame());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
}

TEST(CliHelp, VersionAndAHelpForEveryCommand)
{
    EXPECT_EQ(runIt({"--version"}).out, "kitloom-cli 1.2\n");
    EXPECT_EQ(runIt({"--help"}).status, 0);
    for (const char* command : {"add", "make-patch", "install", "show", "list"}) {
        const CliRun run = runIt({command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(std::string("usage: kitloom-cli ") + command + " ", 0), 0u) << command;
    }
}

}  // namespace
}  // namespace kitloom::test
