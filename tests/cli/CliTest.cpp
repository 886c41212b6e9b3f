#include "cli/Cli.h"
#include "tests/cli/CliRun.h"
#include "cli/JerseyOptions.h"
#include "core/GamePaths.h"
#include "app/ProgramHooks.h"
#include "jobs/AddJob.h"

#include "patch/PatchFormat.h"
#include "patch/PatchWriter.h"
#include "platform/SystemError.h"
#include "platform/TerminalText.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <climits>
#include <csignal>
#include <map>
#include <sstream>

namespace kitloom::test {
namespace {

namespace fs = std::filesystem;

// What a dry run says, as a real run would say it.
std::string asRealRun(std::string text)
{
    for (const auto& [dry, real] : {std::pair<std::string, std::string>{"would be added as", "added as"},
                                    {"would move to", "moved to"},
                                    {"would remove", "removed"},
                                    {"Would remove", "Removed"},
                                    {" (dry run: nothing was changed)", ""}}) {
        for (std::size_t at = text.find(dry); at != std::string::npos; at = text.find(dry, at))
            text.replace(at, dry.size(), real);
    }
    return text;
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
const Args kChoices = {"--type", "away",  "--accessory", "navy BLUE", "--shoe",      "7",
                       "--sock", "WHITE", "--neck",      "v-neck 2",  "--lettering", "horiz"};
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
        useJournalHome(journalHome.path().string());  // each test's jobs alone in the journal
    }
    void TearDown() override { useJournalHome(journalHomeForTests()); }
    Args inGame() const { return {"--game", game.path().string()}; }
    // The report's line for a table added to.
    std::string tablePath(const std::string& folder) const { return namedSaveTablePath(game.prefix(), folder); }
    std::string added(const std::string& folder, int record) const
    {
        return tablePath(folder) + ": added as record " + std::to_string(record) + "\n";
    }
    Bytes table(const std::string& folder) const { return readBytes(game.path() / "saves" / folder / "teamgear.dbf"); }
    std::string gamePatch(const std::string& name) const { return game / name; }

    TempFolder game;
    TempFolder journalHome;
};

TEST_F(CliTest, AddPutsTheSameRecordsIntoTheSavesAsGoWithTheSameChoices)
{
    for (bool withChoices : {false, true}) {
        TempFolder formGame;
        addSaveTable(formGame, "000", 3);
        addSaveTable(formGame, "001", 3);
        AddRequest go;
        go.form = formOf(withChoices);
        go.game.given = formGame.prefix();
        go.hooks = &kProgramHooks;
        ASSERT_TRUE(addJersey(systemFileSystem(), go).installed());

        TempFolder cliGame;
        addSaveTable(cliGame, "000", 3);
        addSaveTable(cliGame, "001", 3);
        const CliRun run = runIt(Args{"add", "--game", cliGame.path().string()} + kJersey +
                                 (withChoices ? kChoices : Args{}));
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, namedSaveTablePath(cliGame.prefix(), "000") + ": added as record 4\n" +
                               namedSaveTablePath(cliGame.prefix(), "001") +
                               ": added as record 4\nSUCCESS: Jersey Installed Succesfully\n");
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

    // Without --slot: every numbered save, one JSON document.
    run = runIt(Args{"list", "--json"} + inGame());
    const auto document = nlohmann::json::parse(run.out);
    ASSERT_EQ(document["tables"].size(), 2u);
    EXPECT_EQ(document["tables"][1]["path"], tablePath("001"));
    EXPECT_EQ(document["tables"][1]["records"][3],
              nlohmann::json::parse(R"json({"position":4,"record":"4","team":"5","type":"1","typeLabel":"Away",
                  "name":"ABCD","year":"1998-99","accessory":"5","accessoryLabel":"Navy Blue","shoe":"8","sock":"1",
                  "sockLabel":"White","neck":"2","neckLabel":"V-Neck 2 (eg Marovans 2002)","lettering":"1",
                  "letteringLabel":"Horizontal over numbers"})json"));
    EXPECT_EQ(recordCountOf(table("000")), 3u) << "a Save Slot names one folder only";
}

TEST_F(CliTest, RefusedJobsShowTheProgramsMessageAndChangeNothing)
{
    // A downloaded patch installed into a game folder without saves: nothing moves.
    writeBytes(game / "downloads/p.jer", toBytes(encodePatch("to", exampleJersey(2))));
    writeBytes(game / "downloads/toABCD.fsh", toBytes("image"));
    const auto before = snapshot(game.path());
    struct Case {
        Args args;
        std::string error;
    };
    const Case cases[] = {
        {Args{"add", "--slot", "7"} + inGame() + kJersey, "Invalid Directory!"},
        {Args{"add", "--game", (game / "saves")} + kJersey, "Invalid Save Slot"},
        {Args{"install", gamePatch("missing.jer")}, "Couldn't open the patch file!"},
        {Args{"install", gamePatch("downloads/p.jer"), "--game", gamePatch("downloads")}, "Invalid Save Slot"},
        {Args{"show", gamePatch("missing.jer")}, "Couldn't open the patch file!"},
        {Args{"list", "--slot", "7"} + inGame(), "Invalid Directory!"},
    };
    for (const Case& c : cases) {
        const CliRun run = runIt(c.args);
        EXPECT_EQ(run.status, 1) << c.error;
        EXPECT_EQ(run.err.rfind("ERROR: " + c.error, 0), 0u) << run.err;
        EXPECT_EQ(run.out, "");
    }
    // A Save Slot of one digit names the folder called so; numbered ones have three.
    EXPECT_NE(runIt(Args{"add", "--slot", "1"} + inGame() + kJersey)
                  .err.find("hint: numbered save folders have three "
                            "digits: --slot 001\n"),
              std::string::npos);
    EXPECT_EQ(snapshot(game.path()), before);
}

TEST_F(CliTest, UsageErrorsGiveStatusTwoAndOneHintLineAndChangeNothing)
{
    writeBytes(game / "p.jer", toBytes(encodePatch("to", exampleJersey(2))));
    const auto before = snapshot(game.path());
    const Args cases[] = {
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
#ifndef _WIN32
        Args{"add", "--name",
             "\xC5\x81\xC3\x93"
             "D\xC5\xB9",
             "--team", "5", "--year", "1998-99"},  // no Polish L in code page 1252
#endif
        Args{"remove", "--name", "ABCD"},
        // The form's rules and the Extra Patch Info's, on the command line.
        Args{"add", "--name", "ABCD"},
        Args{"add", "--team", "123", "--name", "ABC", "--year", "1998-99"},
        Args{"add", "--team", "5", "--name", "A\nBC", "--year", "1998-99"},
        Args{"add", "--slot", std::string(237, '0')} + kJersey,
        Args{"make-patch", "--prefix", "t", "--file", gamePatch("p")} + kJersey,
        Args{"make-patch", "--prefix", "to", "--file", std::string(76, 'f')} + kJersey,
        Args{"make-patch", "--prefix", "a/", "--file", gamePatch("p")} + kJersey,
        Args{"make-patch", "--prefix", "\x1b]", "--file", gamePatch("p")} + kJersey,
        Args{"make-patch", "--prefix", "to", "--file", gamePatch("p"), "--team", "5", "--name", "A:*?", "--year",
             "1998-99"},
        Args{"make-patch", "--prefix", "t", "--file", gamePatch("p"), "--year", "1998"},
        Args{"list", "--slot", ""},
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
    // A refusal names the list by the title its field has on the form.
    int row = 0;
    std::string problem;
    EXPECT_FALSE(cli::matchRow(JerseyList::LetteringType, "2", row, problem));
    EXPECT_EQ(problem, "Lettering Type has rows 0 to 1, not 2");
}

TEST_F(CliTest, MakePatchWritesTheSameBytesAsTheProgramsWriter)
{
    ScopedCurrentFolder here(game.path());
    const CliRun run = runIt(Args{"make-patch", "--prefix", "to", "--file", "toronto_98"} + kJersey + kChoices);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "SUCCESS: Patch file created: toronto_98.jer\n");
    EXPECT_EQ(runIt(Args{"make-patch", "--prefix", "to", "--file", "toronto_98"} + kJersey + kChoices).out,
              "SUCCESS: Patch file created: toronto_98.jer\nreplaced toronto_98.jer\n");

    ASSERT_TRUE(
        writePatchFile("to", "written", readJerseyForm(formOf(true), ShoeCode::InPatch), systemFileSystem()).written);
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
              "Shoe: row 7 of the form's Shoe list (stored as 9)\n"
              "Sock Colour: 1 (White)\n"
              "Neck Type: 2 (V-Neck 2 (eg Marovans 2002))\n"
              "Lettering Type: 1 (Horizontal over numbers)\n");

    // In the file's order, the jersey's fields under the keys list --json gives them.
    EXPECT_EQ(nlohmann::ordered_json::parse(runIt({"show", "--json", "toronto_98.jer"}).out),
              nlohmann::ordered_json::parse(R"json({"saveSlot":"","image":"toABCD.fsh","numberImage":"toABCD_num.fsh",
                  "team":5,"type":{"code":1,"label":"Away"},"name":"ABCD","year":"1998-99",
                  "accessory":{"code":5,"label":"Navy Blue"},"shoe":{"code":9,"label":"7"},
                  "sock":{"code":1,"label":"White"},"neck":{"code":2,"label":"V-Neck 2 (eg Marovans 2002)"},
                  "lettering":{"code":1,"label":"Horizontal over numbers"}})json"));
}

// A code no form can write is a cut or padded download: shown, it would pass for a jersey.
TEST_F(CliTest, ShowRefusesCodesOutsideTheListsAndUnsafeNames)
{
    JerseySpec odd = exampleJersey(2);
    odd.jerseyName = {};
    const std::string header = "007\r\ntoABCD.fsh\r\n\r\n";
    writeBytes(game / "zeros.jer", toBytes(header + encodePatch("to", odd).substr(30)));
    const CliRun run = runIt({"show", gamePatch("zeros.jer")});
    EXPECT_NE(run.out.find("Save Slot: \"007\"\n"), std::string::npos);
    EXPECT_NE(run.out.find("Jersey Name: \"\\x00\\x00\\x00\\x00\"\n"), std::string::npos) << "names pass unjudged";

    odd.shoe = 54;
    writeBytes(game / "odd.jer", toBytes(header + encodePatch("to", odd).substr(30)));
    writeBytes(game / "escape.jer", toBytes("\r\n../toABCD.fsh\r\nx\r\n" + encodePatch("to", odd).substr(30)));
    for (const char* patch : {"odd.jer", "escape.jer"}) {
        for (const Args& show : {Args{"show"}, Args{"show", "--json"}}) {
            const CliRun refused = runIt(show + Args{gamePatch(patch)});
            EXPECT_EQ(refused.status, 1) << patch;
            EXPECT_EQ(refused.out, "") << patch;
            EXPECT_EQ(refused.err, "ERROR: Invalid patch file!\n") << patch;
        }
    }
}

// A patch made on Windows names toABCD.fsh where the download holds TOABCD.FSH: the image
// is found beside the patch in any case, and arrives under the name the patch gives it,
// which is the one the game asks for.
TEST_F(CliTest, AnImageBesideThePatchIsFoundInAnyCase)
{
    writeBytes(game / "p.jer", toBytes(encodePatch("to", exampleJersey(2))));
    writeBytes(game / "TOABCD.FSH", toBytes("image"));
    writeBytes(game / "toabcd_NUM.fsh", toBytes("number image"));
    const std::string art = game / "art";
    const std::string dryRun = runIt({"install", gamePatch("p.jer"), "--art", art, "--dry-run"}).out;
    const CliRun run = runIt({"install", gamePatch("p.jer"), "--art", art});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(asRealRun(dryRun), run.out);
    EXPECT_NE(run.out.find(gamePatch("TOABCD.FSH") + ": moved to " + art + kPathSeparator + "toABCD.fsh\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(readBytes(game / "art/toABCD.fsh"), toBytes("image"));
    EXPECT_EQ(readBytes(game / "art/toABCD_num.fsh"), toBytes("number image"));
    EXPECT_FALSE(fs::exists(game.path() / "TOABCD.FSH"));
}

TEST_F(CliTest, InstallGoesThroughEveryPatchAndFailsWhenAnyJobDid)
{
    std::string trailer = encodePatch("to", exampleJersey(2)).substr(30);
    writeBytes(game / "sweep.jer", toBytes("\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n" + trailer));
    writeBytes(game / "one.jer", toBytes("001\r\nxyABCD.fsh\r\n\r\n" + trailer));
    writeBytes(game / "toABCD.fsh", toBytes("image"));
    writeBytes(game / "toABCD_num.fsh", toBytes("number image"));
    writeBytes(game / "bad.jer", toBytes("short"));
    const std::string art = game / "art";

    // Patches alone, as "Open with" passes them, are installed.
    CliRun run = runIt({gamePatch("bad.jer"), gamePatch("sweep.jer"), "--art", art});
    EXPECT_EQ(run.status, 1);
    const std::string artPrefix = art + kPathSeparator;
    // The images take their names once the tables have the jersey.
    EXPECT_EQ(run.out, gamePatch("bad.jer") + ":\n" + gamePatch("sweep.jer") + ":\n" + added("000", 4) +
                           added("001", 4) + gamePatch("toABCD.fsh") + ": moved to " + artPrefix + "toABCD.fsh\n" +
                           gamePatch("toABCD_num.fsh") + ": moved to " + artPrefix + "toABCD_num.fsh\n" +
                           "SUCCESS: Jersey Installed Succesfully\n");
    EXPECT_EQ(run.err, "ERROR: Invalid patch file!\n");
    EXPECT_EQ(recordCountOf(table("000")), 4u);
    EXPECT_EQ(readBytes(game / "art/toABCD_num.fsh"), toBytes("number image"));

    // A patch goes in whole or not at all: without its image, no save changes.
    run = runIt({"install", gamePatch("one.jer"), "--art", art, "--again"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "ERROR: Couldn't move xyABCD.fsh to " + artPrefix + " (not beside the patch at " +
                           gamePatch("xyABCD.fsh") +
                           ")\nERROR: Nothing was installed: the jersey goes in only with both its images, and the "
                           "ERROR lines above say why one cannot go to the art folder\nhint: put the images beside "
                           "the patch and install it again, or add --images-later to install the jersey now and copy "
                           "its images into the art folder by hand\n");
    EXPECT_EQ(recordCountOf(table("001")), 4u);

    // The same jersey as the sweep's: --again adds it all the same, and --images-later
    // without its image.
    run = runIt({"install", gamePatch("one.jer"), "--art", art, "--again", "--images-later"});
    EXPECT_EQ(run.status, 1) << "an image that did not arrive fails the job";
    EXPECT_EQ(run.out, added("001", 5));
    EXPECT_EQ(run.err, "ERROR: Couldn't move xyABCD.fsh to " + artPrefix + " (not beside the patch at " +
                           gamePatch("xyABCD.fsh") +
                           ")\nERROR: The jersey went into its save, but its images are not all in the art folder: "
                           "the ERROR lines above say why\n");
    EXPECT_EQ(recordCountOf(table("001")), 5u);

    // Installed again: images already in the art folder are fine, and no save gets the
    // jersey twice; a dry run says so too.
    const std::string dryRun = runIt({"install", gamePatch("sweep.jer"), "--art", art, "--dry-run"}).out;
    run = runIt({"install", gamePatch("sweep.jer"), "--art", art});
    EXPECT_EQ(run.status, 0) << run.err;
    auto alreadyThere = [&](const std::string& image) {
        return gamePatch(image) + ": already in the art folder (" + artPrefix + image + ")\n";
    };
    EXPECT_EQ(run.out, tablePath("000") + ": already there as record 4\n" + tablePath("001") +
                           ": already there as record 5\n" + alreadyThere("toABCD.fsh") +
                           alreadyThere("toABCD_num.fsh") + "SUCCESS: Jersey Installed Succesfully\n");
    EXPECT_EQ(asRealRun(dryRun), run.out);
    EXPECT_EQ(recordCountOf(table("000")), 4u);

    // Another jersey's image of the same name: both stay, and nothing goes in.
    writeBytes(game / "toABCD.fsh", toBytes("another image"));
    run = runIt({"install", gamePatch("sweep.jer"), "--art", art, "--again"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ERROR: " + artPrefix + "toABCD.fsh is another image than " + gamePatch("toABCD.fsh") +
                           ": both are kept, and the jersey would show the one in the art folder\nERROR: Nothing was "
                           "installed: the jersey goes in only with both its images, and the ERROR lines above say "
                           "why one cannot go to the art folder\nhint: an updated jersey's images go over the old ones "
                           "with --replace-images, which keeps the old ones in the journal, so that 'kitloom-cli "
                           "undo' brings them back\n");
    EXPECT_EQ(recordCountOf(table("000")), 4u);
    EXPECT_EQ(readBytes(game / "toABCD.fsh"), toBytes("another image"));
    EXPECT_EQ(readBytes(game / "art/toABCD.fsh"), toBytes("image"));

    // Asked to, the updated image goes over the old one, and undo brings the old one back.
    const Bytes tableBefore = table("000");
    run = runIt({"install", gamePatch("sweep.jer"), "--art", art, "--again", "--replace-images"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(readBytes(game / "art/toABCD.fsh"), toBytes("another image"));
    EXPECT_FALSE(fs::exists(game.path() / "toABCD.fsh"));
    EXPECT_EQ(recordCountOf(table("000")), 5u);
    run = runIt({"history", "-n", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("install"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("ABCD"), std::string::npos) << run.out;
    run = runIt({"undo"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("SUCCESS"), std::string::npos) << run.out;
    EXPECT_EQ(table("000"), tableBefore);
    EXPECT_EQ(readBytes(game / "art/toABCD.fsh"), toBytes("image"));
    EXPECT_EQ(readBytes(game / "toABCD.fsh"), toBytes("another image"));

    // Without a journal the old image would be lost: the two are refused together.
    run = runIt({"install", gamePatch("sweep.jer"), "--art", art, "--again", "--replace-images", "--no-journal"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(table("000"), tableBefore);
}

#ifndef _WIN32
TEST_F(CliTest, InstallTakesImagesFromThePatchFolderIntoTheGamesArtFolderByDefault)
{
    const JerseySpec spec = exampleJersey(2);
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
    const Args table000 = Args{"list", "--slot", "000"} + inGame();
    CliRun run = runIt(table000 + Args{"--json"});
    EXPECT_EQ(nlohmann::json::parse(run.out)["tables"][0]["records"][0]["name"], std::string("\"\0\u00e9\\", 5));
    run = runIt(table000);
#ifdef _WIN32
    const std::string eAcute = "\xE9";  // the console shows ANSI text
#else
    const std::string eAcute = "\u00e9";
#endif
    EXPECT_NE(run.out.find("name=\"\\\"\\x00" + eAcute + "\\\\\""), std::string::npos) << run.out;

    bytes[4] = 2;
    writeBytes(game.path() / "saves/000/teamgear.dbf", bytes);
    run = runIt(table000);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "ERROR: The team gear file is damaged! (" + tablePath("000") + ")\n");

    writeBytes(game.path() / "saves/000/teamgear.dbf", makeTable(0, true));
    run = runIt(table000);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
}

// The report names every save and what became of it; a skipped one fails the job.
TEST_F(CliTest, EverySaveIsReportedAndASkippedOneFailsTheJob)
{
    addSaveTable(game, "002", 999);
    addSaveTable(game, "003", 3);
    // Writing the record into the fourth table, the sweep's fifth write, fails as on a full
    // disk: a run that fails nothing tells which operation that is. The journal's writes
    // would come between.
    const Args add = Args{"add", "--no-journal"} + inGame() + kJersey;
    const std::string unrecorded =
        "note: --no-journal: this job is not recorded, and 'kitloom-cli undo' cannot take it back\n";
    FaultyFileSystem counting(INT_MAX);
    runIt(add, counting);
    for (const char* folder : {"000", "001", "003"})
        addSaveTable(game, folder, 3);
    FaultyFileSystem fullDisk(counting.numberOf(Operation::Write, 5));
    const std::string diskFull = diskFullReason();
    const CliRun run = runIt(add, fullDisk);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, added("000", 4) + added("001", 4));
    EXPECT_EQ(run.err, unrecorded + "ERROR: There are already 999 jerseys! (" + tablePath("002") + ")\n" +
                           "ERROR: The team gear file couldn't be opened! (" + tablePath("003") + ": " + diskFull +
                           ")\nERROR: The jersey went into 2 of 4 saves: the ERROR lines above say why\n");
    EXPECT_EQ(recordCountOf(table("003")), 3u);

    // A sweep that added to no table ends in the first problem's words, whatever came last.
    TempFolder fullGame;
    addSaveTable(fullGame, "000", 999);
    const CliRun full = runIt(
        {"add", "--game", fullGame.path().string(), "--team", "5", "--name", "ABCD", "--year", "1998-99"});
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "ERROR: There are already 999 jerseys! (" + namedSaveTablePath(fullGame.prefix(), "000") +
                            ")\nERROR: There are already 999 jerseys!\n");
}

// A gap ends every sweep as it always has; the saves past it are named on stderr.
TEST_F(CliTest, SavesPastAGapAreNamedAsNotVisited)
{
    addSaveTable(game, "003", 3);
    addSaveTable(game, "005", 3);
    auto folder = [this](const char* name) { return game.prefix() + "saves" + kPathSeparator + name; };
    const std::string note = "note: " + folder("003") +
                             " and 1 more save folder were not visited: the sweep stops "
                             "at the first missing save folder, " +
                             folder("002") + "\n";
    for (const Args& job : {Args{"add"} + kJersey, Args{"remove", "--name", "ABCD", "--year", "1998-99"}, Args{"list"},
                            Args{"list", "--json"}}) {
        const CliRun run = runIt(job + inGame());
        EXPECT_NE(run.err.find(note), std::string::npos) << job[0] << ": " << run.err;
        EXPECT_EQ(run.status, 0) << job[0];
        if (job.back() == "--json") {
            EXPECT_EQ(nlohmann::json::parse(run.out)["unvisited"],
                      nlohmann::json::array({folder("003"), folder("005")}));
        }
    }
    EXPECT_EQ(recordCountOf(table("003")), 3u);
}

TEST_F(CliTest, DryRunsReportWhatARealRunDoesAndChangeNothing)
{
    JerseySpec spec = exampleJersey(2);
    writeBytes(game / "downloads/p.jer", toBytes(encodePatch("to", spec)));
    writeBytes(game / "downloads/toABCD.fsh", toBytes("image"));
    writeBytes(game / "downloads/toABCD_num.fsh", toBytes("number image"));
    const std::string name(spec.jerseyName.begin(), spec.jerseyName.end());
    const std::string year(spec.year.begin(), spec.year.begin() + 7);
    const Args jobs[] = {
        Args{"add"} + inGame() + kJersey,
        Args{"install", gamePatch("downloads/p.jer"), "--art", gamePatch("art")} + inGame(),
        Args{"remove", "--name", name, "--year", year, "--slot", "001"} + inGame(),
        Args{"remove", "--name", "ABCD", "--year", "1998-99"} + inGame(),
    };
    for (const Args& job : jobs) {
        const auto before = snapshot(game.path());
        const CliRun dry = runIt(job + Args{"--dry-run"});
        EXPECT_EQ(snapshot(game.path()), before) << job[0];
        const CliRun real = runIt(job);
        EXPECT_EQ(asRealRun(dry.out), real.out) << job[0];
        EXPECT_EQ(dry.err, real.err) << job[0];
        EXPECT_EQ(dry.status, real.status) << job[0];
        EXPECT_NE(snapshot(game.path()), before) << job[0];
    }
    EXPECT_EQ(table("000"), makeTable(3)) << "the add and the install were removed again";
}

TEST_F(CliTest, RemoveTakesOnlyTheLatestInstallsOffTheEnd)
{
    const Args other = {"--team", "7", "--name", "WXYZ", "--year", "2001-02"};
    for (const Args& jersey : {kJersey, other, kJersey, kJersey})
        ASSERT_EQ(runIt(Args{"add", "--slot", "000"} + inGame() + jersey).status, 0);

    CliRun run = runIt(Args{"remove", "--name", "ABCD", "--year", "1998-99", "--team", "5"} + inGame());
    EXPECT_EQ(run.status, 1) << "the first ABCD stays behind WXYZ";
    EXPECT_EQ(run.out, tablePath("000") + ": removed 2 jerseys (5 records left)\n" + tablePath("001") +
                           ": no matching jersey\n");
    EXPECT_EQ(run.err, "ERROR: A matching jersey behind others stays, at position 4 (" + tablePath("000") +
                           ")\nERROR: Removed 2 jerseys from 1 save: the ERROR lines above say what stayed\n"
                           "hint: a jersey comes out only from the end of its table, so the jerseys after it go "
                           "first: 'kitloom-cli list' shows them, and removing them, newest first, lets this one out "
                           "too\nnote: the jersey's images stay in the art folder (" +
                           kArtFolderDescription +
                           "): delete its two .fsh files there (PREFIXABCD.fsh and PREFIXABCD_num.fsh) once no save "
                           "holds the jersey\n");
    EXPECT_EQ(recordCountOf(table("000")), 5u);

    run = runIt(Args{"remove", "--name", "ABCD", "--year", "1998-99", "--type", "home", "--slot", "000"} + inGame());
    EXPECT_EQ(run.status, 1) << "the type narrows the match: nothing matches at the end";
    EXPECT_EQ(recordCountOf(table("000")), 5u);
}

// Each job is recorded, and undo takes back even what remove took; a journal that cannot be
// written stops a job before its first change.
TEST_F(CliTest, JobsAreRecordedAndUndoneAndAJournalThatCannotBeWrittenStopsThemFirst)
{
    const Bytes before = table("000");
    ASSERT_EQ(runIt(Args{"add"} + inGame() + kJersey).status, 0);
    const Bytes afterAdd = table("000");
    ASSERT_EQ(runIt(Args{"remove", "--name", "ABCD", "--year", "1998-99"} + inGame()).status, 0);
    const Bytes afterRemove = table("000");

    CliRun run = runIt({"undo", "--dry-run"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(tablePath("000") + ": would be put back as it was before job 2"), std::string::npos)
        << run.out;
    EXPECT_EQ(table("000"), afterRemove);
    run = runIt({"undo"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("Undoing job 2 (remove --name ABCD --year 1998-99 --game " + game.path().string() + ", ", 0), 0u)
        << run.out;
    EXPECT_NE(run.out.find("\n" + tablePath("001") + ": put back as it was before job 2\n" + tablePath("000") +
                           ": put back as it was before job 2\nSUCCESS: Job 2 is undone: every save and image it "
                           "changed is as it was before it\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(table("000"), afterAdd) << "the record remove took is back";
    EXPECT_EQ(runIt({"undo"}).status, 0);
    EXPECT_EQ(table("000"), before);
    EXPECT_EQ(table("001"), before);
    run = runIt({"undo"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ERROR: There is no job to undo: 'kitloom-cli history' lists what the journal recorded\n");

    run = runIt({"history", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json jobs = nlohmann::json::parse(run.out);
    ASSERT_EQ(jobs.size(), 4u);
    EXPECT_EQ(jobs[0]["id"], 4);
    EXPECT_EQ(jobs[0]["undoes"], 1);
    EXPECT_EQ(jobs[3]["state"], "undone");
    EXPECT_EQ(jobs[3]["undoneBy"], 4);
    EXPECT_EQ(jobs[3]["saves"], 2);
    EXPECT_EQ(jobs[3]["jerseys"][0]["name"], "ABCD");
    // An undo undone gives the jersey back.
    EXPECT_EQ(runIt({"undo", "4"}).status, 0);
    EXPECT_EQ(table("000"), afterAdd);

    // The journal's place is a file: nothing changes, and --no-journal runs the job.
    const std::string blocked = game / "not-a-folder";
    writeBytes(blocked, toBytes("x"));
    useJournalHome(blocked);
    run = runIt(Args{"add"} + inGame() + kJersey);
    useJournalHome(journalHome.path().string());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("ERROR: The job could not be recorded in the journal, so no save was changed (" + blocked, 0), 0u)
        << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    EXPECT_EQ(table("000"), afterAdd);
}

// What a player who types a little wrong is told: enough to type it right the next time.
TEST_F(CliTest, MistakesAndAnswersTellAPlayerWhatToTypeNext)
{
    CliRun bare = runIt({});
    EXPECT_EQ(bare.status, 2);
    EXPECT_EQ(bare.out.rfind("kitloom-cli 1.2: custom jerseys", 0), 0u) << bare.out;
    EXPECT_NE(bare.out.find("\n  add "), std::string::npos) << bare.out;
    CliRun helpHelp = runIt({"help", "help"});
    EXPECT_EQ(helpHelp.status, 0) << helpHelp.err;
    EXPECT_NE(helpHelp.out.find("'kitloom-cli help COMMAND' describes one command"), std::string::npos);

    for (const auto& [args, told] :
         {std::pair{Args{"add", "--accessory", "blue"} + kJersey,
                    std::string("usage: --accessory: no Accessory Colour is called \"blue\"; the choices are 0 Black, "
                                "1 White, 2 Royal Blue, ")},
          std::pair{Args{"add"}, std::string("usage: --team, --name and --year are needed: ")},
          std::pair{Args{"add", "--name", "ABCD"}, std::string("usage: --team and --year are needed: ")},
          std::pair{Args{"install"}, std::string("usage: PATCH is missing: the patches (.jer)")},
          std::pair{Args{"remove"}, std::string("usage: which jersey? name a patch (kitloom-cli remove PATCH.jer)")}}) {
        const CliRun run = runIt(args);
        EXPECT_EQ(run.status, 2) << told;
        EXPECT_EQ(run.err.rfind(told, 0), 0u) << run.err;
    }

    // A patch names the jersey to remove, and the images it leaves in the art folder.
    JerseySpec spec = exampleJersey(2);
    writeBytes(game / "p.jer", toBytes(encodePatch("to", spec)));
    writeBytes(game / "toABCD.fsh", toBytes("image"));
    writeBytes(game / "toABCD_num.fsh", toBytes("number image"));
    ASSERT_EQ(runIt(Args{"install", gamePatch("p.jer"), "--art", game / "art"} + inGame()).status, 0);
    EXPECT_EQ(runIt(Args{"remove", gamePatch("p.jer"), "--name", "ABCD"} + inGame()).status, 2);
    CliRun removed = runIt(Args{"remove", gamePatch("p.jer")} + inGame());
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_EQ(recordCountOf(table("000")), 3u);
    EXPECT_EQ(recordCountOf(table("001")), 3u);
    EXPECT_NE(removed.err.find("note: the jersey's images stay in the art folder (" + std::string(kArtFolderDescription) +
                               "): delete toABCD.fsh and toABCD_num.fsh there once no save holds the jersey\n"),
              std::string::npos)
        << removed.err;

    CliRun made = runIt(Args{"make-patch", "--prefix", "zz", "--file", gamePatch("z")} + kJersey);
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.err,
              "hint: share it with its two images, zzABCD.fsh and zzABCD_num.fsh, beside it (--zip packs the "
              "three into one zip)\n");
}

// Names and years are code page 1252 in tables; the terminal's text is converted both ways.
TEST_F(CliTest, NamesAreTheTerminalsTextAndTheTablesCodePage)
{
#ifdef _WIN32
    const std::string typed = "M\xDCNC";  // the console already gives ANSI text
#else
    const std::string typed = "M\u00DCNC";
#endif
    ASSERT_EQ(
        runIt(Args{"add", "--slot", "000", "--team", "5", "--name", typed, "--year", "1998-99"} + inGame()).status, 0);
    const Bytes bytes = table("000");
    EXPECT_EQ(std::string(bytes.end() - 20, bytes.end() - 16), "M\xDCNC");
    EXPECT_NE(runIt(Args{"list", "--slot", "000"} + inGame()).out.find("name=\"" + typed + "\""), std::string::npos);
    EXPECT_EQ(nlohmann::json::parse(
                  runIt(Args{"list", "--slot", "000", "--json"} + inGame()).out)["tables"][0]["records"][3]["name"],
              "M\u00DCNC");
}

// Ctrl-C during a sweep: the table in hand is finished, the rest stay as they were.
class InterruptingFileSystem final : public ForwardingFileSystem {
public:
    explicit InterruptingFileSystem(int atOpening) : atOpening_(atOpening) {}
    Opened openForUpdate(const std::string& path) override
    {
        // The journal's own openings are not the sweep's.
        if (path.find("teamgear.dbf") != std::string::npos && ++openings_ == atOpening_)
            std::raise(SIGINT);
        return systemFileSystem().openForUpdate(path);
    }

private:
    int atOpening_;
    int openings_ = 0;
};

TEST_F(CliTest, CtrlCStopsAfterTheTableInHandAndSaysWhereItStopped)
{
    addSaveTable(game, "002", 3);
    for (const Args& job : {Args{"add"} + kJersey, Args{"remove", "--name", "ABCD", "--year", "1998-99"}}) {
        InterruptingFileSystem interrupting(2);
        const CliRun run = runIt(job + inGame(), interrupting);
        EXPECT_EQ(run.status, 130) << job[0];
        EXPECT_EQ(run.err, "ERROR: Stopped by Ctrl-C after " + tablePath("001") +
                               "; the lines above tell every save that changed\n");
        EXPECT_EQ(run.out.find(tablePath("002")), std::string::npos) << run.out;
        EXPECT_EQ(recordCountOf(table("002")), 3u);
    }
    EXPECT_EQ(recordCountOf(table("000")), 3u);
    EXPECT_EQ(recordCountOf(table("001")), 3u);
}

TEST(CliHelp, VersionAndAHelpForEveryCommandThatSpeaksOfThisSystemOnly)
{
    EXPECT_EQ(runIt({"--version"}).out, "kitloom-cli 1.2\n");
    EXPECT_EQ(runIt({"--help"}).status, 0);
    const std::string listed = runIt({"help"}).out;
    std::string everyHelp = listed;
    for (const char* command : {"add", "make-patch", "install", "remove", "show", "list", "where"}) {
        EXPECT_NE(listed.find(std::string("\n  ") + command + " "), std::string::npos) << command << " in " << listed;
        for (const Args& asked : {Args{command, "--help"}, Args{"help", command}}) {
            const CliRun run = runIt(asked);
            EXPECT_EQ(run.status, 0);
            EXPECT_NE(run.out.find(std::string("Usage: kitloom-cli ") + command + " "), std::string::npos) << command;
            everyHelp += run.out;
        }
    }
    for (const char* linuxOnly : {"notify", "WINEPREFIX", "Wine", "Steam", "~/"}) {
#ifdef _WIN32
        EXPECT_EQ(everyHelp.find(linuxOnly), std::string::npos) << linuxOnly;
#else
        EXPECT_NE(everyHelp.find(linuxOnly), std::string::npos) << linuxOnly;
#endif
    }
}

}  // namespace
}  // namespace kitloom::test
