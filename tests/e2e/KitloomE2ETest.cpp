#include "app/resources/resource.h"
#include "core/LittleEndian.h"
#include "platform/UniqueHandle_win.h"
#include "tests/e2e/KitloomProcess.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kitloom::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::Bytes;
using test::error;
using test::success;
using test::TempFolder;

Bytes operator+(Bytes first, const Bytes& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const std::string kArtFolder = "c:\\program files\\orvanta\\dunkmere\\render\\xteam\\";

// A game folder with numbered saves 000 to 002 holding 3, 9 and 12 jerseys.
struct Game {
    Game()
    {
        test::addSaveTable(folder, "000", 3);
        test::addSaveTable(folder, "001", 9);
        test::addSaveTable(folder, "002", 12);
    }
    Bytes table(const std::string& save) const
    {
        return test::readBytes(folder.path() / "saves" / save / "teamgear.dbf");
    }
    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder.path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    TempFolder folder;
};

// makeTable(count) once a jersey went in: the last record copied, with `fields` as its
// bytes 3 to 27, except byte 22 (a '?' in `fields`), which keeps the copied value.
Bytes tableWithJersey(std::uint32_t count, const std::string& fields)
{
    EXPECT_EQ(fields.size(), 25u);
    Bytes table = test::makeTable(count);
    littleendian::writeUInt32(&table[4], count + 1);
    Bytes record = test::recordPattern(count - 1);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (k + 3 != 22)
            record[k + 3] = static_cast<std::uint8_t>(fields[k]);
    }
    table.insert(table.end(), record.begin(), record.end());
    return table;
}

struct Form {
    std::string saveSlot, team, name, year;
    int jerseyType = 2, accessoryColour = 0, shoe = 0, sockColour = 0, neckType = 0, letteringType = 0;
};

void fill(HWND dialog, const Form& form)
{
    setText(dialog, IDC_SAVE_SLOT, form.saveSlot);
    setText(dialog, IDC_TEAM_NUMBER, form.team);
    setText(dialog, IDC_JERSEY_NAME, form.name);
    setText(dialog, IDC_YEAR, form.year);
    selectRow(dialog, IDC_JERSEY_TYPE, form.jerseyType);
    selectRow(dialog, IDC_ACCESSORY_COLOUR, form.accessoryColour);
    selectRow(dialog, IDC_SHOE, form.shoe);
    selectRow(dialog, IDC_SOCK_COLOUR, form.sockColour);
    selectRow(dialog, IDC_NECK_TYPE, form.neckType);
    selectRow(dialog, IDC_LETTERING_TYPE, form.letteringType);
}

void expectForm(HWND dialog, const Form& form)
{
    EXPECT_EQ(text(dialog, IDC_SAVE_SLOT), form.saveSlot);
    EXPECT_EQ(text(dialog, IDC_TEAM_NUMBER), form.team);
    EXPECT_EQ(text(dialog, IDC_JERSEY_NAME), form.name);
    EXPECT_EQ(text(dialog, IDC_YEAR), form.year);
    EXPECT_EQ(selectedRow(dialog, IDC_JERSEY_TYPE), form.jerseyType);
    EXPECT_EQ(selectedRow(dialog, IDC_ACCESSORY_COLOUR), form.accessoryColour);
    EXPECT_EQ(selectedRow(dialog, IDC_SHOE), form.shoe);
    EXPECT_EQ(selectedRow(dialog, IDC_SOCK_COLOUR), form.sockColour);
    EXPECT_EQ(selectedRow(dialog, IDC_NECK_TYPE), form.neckType);
    EXPECT_EQ(selectedRow(dialog, IDC_LETTERING_TYPE), form.letteringType);
}

// Team 5, Alternate, ABCD, 1998-99, White accessories, Shoe row 7, White socks, Neck
// row 1, Horizontal lettering: written as a patch with prefix "to".
const Form kPatchedForm{"", "5", "ABCD", "1998-99", 2, 1, 7, 1, 1, 1};
const Bytes kPatchedFormAsPatch = test::toBytes("\r\ntoABCD.fsh\r\ntoABCD_num.fsh\r\n") +
                                  Bytes{0x05, 0,    0,   0,   0x02, 0,    0,    0, 'A', 'B',  'C',  'D', '1',
                                        '9',  '9',  '8', '-', '9',  '9',  0x03, 0, 0,   0,    0x09, 0,   0,
                                        0,    0x01, 0,   0,   0,    0x01, 0,    0, 0,   0x01, 0,    0,   0};

// The test's own ending: Exit, with no message on the way.
void expectCleanExit(const KitloomProcess& kitloom, HWND mainDialog)
{
    postCommand(mainDialog, IDM_EXIT);
    KitloomProcess::Ending ending = kitloom.acknowledgeUntilExit();
    EXPECT_EQ(ending.messages, std::vector<ShownMessage>{});
    EXPECT_EQ(ending.exitCode, 40002u);
}

// kitloom.exe started in a fresh game folder, its form open.
class KitloomWithForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = kitloom.waitForMainDialog();
        ASSERT_NE(dialog, nullptr);
    }

    Game game;
    KitloomProcess kitloom{game.folder.path()};
    HWND dialog = nullptr;
};

class KitloomGoTest : public KitloomWithForm {};
class KitloomMakeAPatchTest : public KitloomWithForm {};
class KitloomFormTest : public KitloomWithForm {};

TEST_F(KitloomGoTest, EmptySaveSlotPutsTheJerseyIntoEveryNumberedSave)
{
    const Form form{"", "5", "ABCD", "1998-99", 0, 15, 8, 1, 3, 1};
    fill(dialog, form);

    postCommand(dialog, IDC_GO);
    EXPECT_EQ(kitloom.acknowledgeMessage(), success("Jersey Installed Succesfully"));

    // Home, Grey (code 17), Shoe row 8 (code 9), White socks, Neck row 3, Horizontal.
    const std::string jersey = "5\0"s + "0" + "ABCD" + "1998-99" + "17" + "?" + " 9" + "1" + "3" + "1";
    EXPECT_EQ(game.table("000"), tableWithJersey(3, "4\0\0"s + jersey));
    EXPECT_EQ(game.table("001"), tableWithJersey(9, "10\0"s + jersey));
    EXPECT_EQ(game.table("002"), tableWithJersey(12, "13\0"s + jersey));
    EXPECT_FALSE(fs::exists(game.folder.path() / "saves" / "003"));
    expectForm(dialog, form);
    expectCleanExit(kitloom, dialog);
}

TEST_F(KitloomGoTest, SaveSlotNamesOneFolderAsTyped)
{
    test::addSaveTable(game.folder, "1", 5);
    fill(dialog, {"1", "42", "WXYZ", "2003-04"});

    postCommand(dialog, IDC_GO);
    EXPECT_EQ(kitloom.acknowledgeMessage(), success("Jersey Installed Succesfully!"));

    // The opening rows: Alternate, Black (code 2), Shoe row 0 (code 1), then three zeros.
    EXPECT_EQ(game.table("1"),
              tableWithJersey(5, "6\0\0"s + "42" + "2" + "WXYZ" + "2003-04" + " 2" + "?" + " 1" + "000"));
    EXPECT_EQ(game.table("000"), test::makeTable(3));
    EXPECT_EQ(game.table("001"), test::makeTable(9));
    expectCleanExit(kitloom, dialog);
}

TEST_F(KitloomGoTest, ARefusedFormChangesNothingForEitherCommand)
{
    const Form form{"", "123", "ABC", "1998-99"};
    fill(dialog, form);

    postCommand(dialog, IDC_GO);
    EXPECT_EQ(kitloom.acknowledgeMessage(), error("The jersey name wasn't the right length!"));
    postCommand(dialog, IDM_MAKE_PATCH);
    EXPECT_EQ(kitloom.acknowledgeMessage(), error("The jersey name wasn't the right length!"));

    expectForm(dialog, form);
    // No Extra Patch Info dialog either: it would keep the program from ending here.
    expectCleanExit(kitloom, dialog);
    EXPECT_EQ(game.table("000"), test::makeTable(3));
    EXPECT_EQ(game.files(), std::vector<std::string>{"saves"});
}

TEST_F(KitloomMakeAPatchTest, RefusesABadPrefixThenWritesThePatch)
{
    Form form = kPatchedForm;
    form.saveSlot = "1";  // no part of a patch
    fill(dialog, form);

    postCommand(dialog, IDM_MAKE_PATCH);
    HWND info = kitloom.waitForDialog("Extra Patch Info");
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(IsWindowEnabled(dialog)) << "the Extra Patch Info dialog has no owner";
    setText(info, IDC_PATCH_FILE, "toronto_98");
    // Too short, and a prefix that would put the images into a folder "a".
    for (const char* prefix : {"t", "a/"}) {
        setText(info, IDC_PATCH_PREFIX, prefix);
        postCommand(info, IDOK);
        EXPECT_EQ(kitloom.acknowledgeMessage(), error("Invalid Field"));
        ASSERT_TRUE(IsWindowVisible(info));
        EXPECT_EQ(text(info, IDC_PATCH_PREFIX), prefix);
        EXPECT_EQ(text(info, IDC_PATCH_FILE), "toronto_98");
    }

    setText(info, IDC_PATCH_PREFIX, "to");
    postCommand(info, IDOK);
    EXPECT_EQ(kitloom.acknowledgeMessage(), success("Patch file created: toronto_98.jer"));
    EXPECT_FALSE(IsWindow(info));
    EXPECT_EQ(test::readBytes(game.folder.path() / "toronto_98.jer"), kPatchedFormAsPatch);
    EXPECT_EQ(game.table("000"), test::makeTable(3));
    expectCleanExit(kitloom, dialog);
}

TEST_F(KitloomMakeAPatchTest, CancelWritesNothingAndSaysNothing)
{
    fill(dialog, kPatchedForm);

    postCommand(dialog, IDM_MAKE_PATCH);
    HWND info = kitloom.waitForDialog("Extra Patch Info");
    ASSERT_NE(info, nullptr);
    setText(info, IDC_PATCH_PREFIX, "to");
    setText(info, IDC_PATCH_FILE, "toronto_98");
    postCommand(info, IDCANCEL);
    EXPECT_TRUE(waitUntilGone(info));

    expectForm(dialog, kPatchedForm);
    expectCleanExit(kitloom, dialog);
    EXPECT_EQ(game.files(), std::vector<std::string>{"saves"});
}

TEST_F(KitloomFormTest, ResetFieldsEmptiesTheFieldsAndRestoresTheRows)
{
    fill(dialog, {"7", "5", "ABCD", "1998-99", 0, 15, 51, 1, 3, 1});

    DWORD_PTR handled = 0;
    ASSERT_TRUE(SendMessageTimeoutA(dialog, WM_COMMAND, IDM_RESET_FIELDS, 0, SMTO_NORMAL, kPatienceMs, &handled));

    expectForm(dialog, Form{});
    EXPECT_EQ(rowCount(dialog, IDC_SHOE), 52) << "the lists are not filled again";
    expectCleanExit(kitloom, dialog);
}

TEST_F(KitloomFormTest, EscapeKeepsTheFormOpen)
{

    postCommand(dialog, IDCANCEL);
    // Commands are handled in the order they came: by the time Go! answers, Escape was seen.
    postCommand(dialog, IDC_GO);
    EXPECT_EQ(kitloom.acknowledgeMessage(), error("You forgot to fill in a field!"));
    EXPECT_TRUE(IsWindowVisible(dialog));
    expectCleanExit(kitloom, dialog);
}

TEST(KitloomExitTest, ExitAndTheCloseBoxEndTheProgramWith40002)
{
    struct Way {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    for (const Way& way :
         {Way{"Exit", WM_COMMAND, IDM_EXIT}, Way{"WM_CLOSE", WM_CLOSE, 0}, Way{"SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE}}) {
        SCOPED_TRACE(way.name);
        TempFolder game;
        KitloomProcess kitloom(game.path());
        HWND dialog = kitloom.waitForMainDialog();
        ASSERT_NE(dialog, nullptr);
        PostMessageA(dialog, way.message, way.wParam, 0);
        KitloomProcess::Ending ending = kitloom.acknowledgeUntilExit();
        EXPECT_EQ(ending.messages, std::vector<ShownMessage>{});
        EXPECT_EQ(ending.exitCode, 40002u);
    }
}

TEST_F(KitloomFormTest, AboutBoxDisablesTheFormUntilItsOk)
{

    postCommand(dialog, IDM_ABOUT);
    HWND about = kitloom.waitForDialog([&](HWND window) { return window != dialog; });
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(caption(about), "");
    EXPECT_EQ(GetWindow(about, GW_OWNER), dialog);
    EXPECT_FALSE(IsWindowEnabled(dialog));

    // Escape does not close it: the Go! behind it answers while it is still there.
    postCommand(about, IDCANCEL);
    postCommand(dialog, IDC_GO);
    EXPECT_EQ(kitloom.acknowledgeMessage(), error("You forgot to fill in a field!"));
    EXPECT_TRUE(IsWindowVisible(about));

    postCommand(about, IDOK);
    EXPECT_TRUE(waitUntilGone(about));
    EXPECT_TRUE(IsWindowEnabled(dialog));
    expectCleanExit(kitloom, dialog);
}

const fs::path kGameInstall = "c:\\program files\\orvanta";
const fs::path kGameRender = kGameInstall / "dunkmere" / "render";

// The game's install folder as one test wants it, removed with everything in it at the
// end, also when it was the program that made it.
class GameInstall {
public:
    explicit GameInstall(bool installed)
    {
        if (installed)
            fs::create_directories(kGameRender);
    }
    GameInstall(const GameInstall&) = delete;
    GameInstall& operator=(const GameInstall&) = delete;
    ~GameInstall()
    {
        std::error_code ignored;
        fs::remove_all(kGameInstall, ignored);
    }
};

// A patch in a folder with spaces in its name, beside its images and the saves.
struct PatchFolder {
    explicit PatchFolder(const Bytes& patch)
    {
        test::writeBytes(folder() / "toronto 98.jer", patch);
        test::writeBytes(folder() / "toABCD.fsh", test::toBytes("first image"));
        test::writeBytes(folder() / "toABCD_num.fsh", test::toBytes("second image"));
        for (const auto& [save, count] : {std::pair{"000", 4}, std::pair{"001", 7}})
            test::writeBytes(folder() / "saves" / save / "teamgear.dbf", test::makeTable(count));
    }
    fs::path folder() const { return root.path() / "My Patches"; }
    std::string quotedPatchPath() const { return "\"" + (folder() / "toronto 98.jer").string() + "\""; }
    Bytes table(const std::string& save) const { return test::readBytes(folder() / "saves" / save / "teamgear.dbf"); }

    TempFolder root;
};

// Alternate, accessory code 3, shoe code 9 (a patch carries row + 2), White socks,
// Neck row 1, Horizontal.
const std::string kPatchedJersey = "5\0"s + "2" + "ABCD" + "1998-99" + " 3" + "?" + " 9" + "111";

TEST(KitloomPatchModeTest, WithoutTheGameInstalledTheImagesStayAndTheJerseyGoesIn)
{
    ArtFolderTurn turn;
    ASSERT_TRUE(turn.owned());
    ASSERT_FALSE(fs::exists(kGameInstall)) << "left over from an interrupted run: remove it";
    GameInstall notInstalled(false);
    PatchFolder patch(kPatchedFormAsPatch);

    // Started elsewhere: the patch's own folder is where images and saves are looked for.
    KitloomProcess kitloom(patch.root.path(), patch.quotedPatchPath());
    KitloomProcess::Ending ending = kitloom.acknowledgeUntilExit();

    EXPECT_EQ(ending.messages, (std::vector<ShownMessage>{error("Couldn't move toABCD.fsh to " + kArtFolder),
                                                          error("Couldn't move toABCD_num.fsh to " + kArtFolder),
                                                          success("Jersey Installed Succesfully")}));
    EXPECT_FALSE(ending.formShown);
    EXPECT_EQ(ending.exitCode, 0u);
    EXPECT_EQ(patch.table("000"), tableWithJersey(4, "5\0\0"s + kPatchedJersey));
    EXPECT_EQ(patch.table("001"), tableWithJersey(7, "8\0\0"s + kPatchedJersey));
    EXPECT_TRUE(fs::exists(patch.folder() / "toABCD.fsh"));
    EXPECT_TRUE(fs::exists(patch.folder() / "toABCD_num.fsh"));
    EXPECT_EQ(test::readBytes(patch.folder() / "toronto 98.jer"), kPatchedFormAsPatch);
    EXPECT_FALSE(fs::exists(kGameRender));
}

TEST(KitloomPatchModeTest, WithTheGameInstalledTheImagesMoveIntoItsArtFolder)
{
    ArtFolderTurn turn;
    ASSERT_TRUE(turn.owned());
    ASSERT_FALSE(fs::exists(kGameInstall)) << "left over from an interrupted run: remove it";
    GameInstall installed(true);
    // Line 1 names one save folder.
    Bytes patchBytes = test::toBytes("001") + kPatchedFormAsPatch;
    PatchFolder patch(patchBytes);

    KitloomProcess kitloom(patch.root.path(), patch.quotedPatchPath());
    KitloomProcess::Ending ending = kitloom.acknowledgeUntilExit();

    EXPECT_EQ(ending.messages, std::vector<ShownMessage>{success("Jersey Installed Succesfully!")});
    EXPECT_FALSE(ending.formShown);
    EXPECT_EQ(ending.exitCode, 0u);
    EXPECT_EQ(test::readBytes(kArtFolder + "toABCD.fsh"), test::toBytes("first image"));
    EXPECT_EQ(test::readBytes(kArtFolder + "toABCD_num.fsh"), test::toBytes("second image"));
    EXPECT_FALSE(fs::exists(patch.folder() / "toABCD.fsh"));
    EXPECT_FALSE(fs::exists(patch.folder() / "toABCD_num.fsh"));
    EXPECT_EQ(patch.table("000"), test::makeTable(4));
    EXPECT_EQ(patch.table("001"), tableWithJersey(7, "8\0\0"s + kPatchedJersey));
}

// A game under another Program Files: without the fixed folder's parent, the render
// folder beside the saves takes the images, and the message names it; the fixed folder
// wins wherever it can be had.
TEST(KitloomPatchModeTest, AGameInstalledElsewhereTakesItsImagesIntoTheRenderFolderBesideItsSaves)
{
    ArtFolderTurn turn;
    ASSERT_TRUE(turn.owned());
    ASSERT_FALSE(fs::exists(kGameInstall)) << "left over from an interrupted run: remove it";
    for (bool fixedFolderThere : {false, true}) {
        GameInstall game(fixedFolderThere);
        PatchFolder patch(kPatchedFormAsPatch);
        const fs::path besideSaves = patch.folder() / "Render" / "xteam";
        fs::create_directories(besideSaves.parent_path());
        fs::remove(patch.folder() / "toABCD_num.fsh");

        KitloomProcess kitloom(patch.root.path(), patch.quotedPatchPath());
        KitloomProcess::Ending ending = kitloom.acknowledgeUntilExit();

        const std::string used = fixedFolderThere ? kArtFolder : besideSaves.string() + "\\";
        EXPECT_EQ(ending.messages, (std::vector<ShownMessage>{error("Couldn't move toABCD_num.fsh to " + used),
                                                              success("Jersey Installed Succesfully")}));
        EXPECT_EQ(test::readBytes(used + "toABCD.fsh"), test::toBytes("first image"));
        EXPECT_EQ(fs::exists(besideSaves), !fixedFolderThere);
        EXPECT_EQ(patch.table("001"), tableWithJersey(7, "8\0\0"s + kPatchedJersey));
    }
}

TEST(KitloomPatchModeTest, ACommandLineOver255CharactersIsRefused)
{
    TempFolder game;
    KitloomProcess kitloom(game.path(), "\"" + std::string(256, 'p') + "\"");
    KitloomProcess::Ending ending = kitloom.acknowledgeUntilExit();
    EXPECT_EQ(ending.messages, std::vector<ShownMessage>{error("The patch path is too long!")});
    EXPECT_FALSE(ending.formShown);
    EXPECT_EQ(ending.exitCode, 0u);
}

}  // namespace
}  // namespace kitloom::e2e
