#include "app/FormRules.h"

#include "core/TeamGearLayout.h"
#include "tests/app/FakeJerseyForm.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace kitloom::test {
namespace {

namespace fs = std::filesystem;

class FormRulesTest : public ::testing::Test {
protected:
    void fill(const std::string& team, const std::string& name, const std::string& year)
    {
        form.texts[IDC_TEAM_NUMBER] = team;
        form.texts[IDC_JERSEY_NAME] = name;
        form.texts[IDC_YEAR] = year;
    }
    // The one message a refused form shows, or "" when it was accepted silently.
    std::string refusal()
    {
        messages.shown.clear();
        bool accepted = checkJerseyForm(form, messages);
        EXPECT_EQ(messages.shown.size(), accepted ? 0u : 1u);
        if (accepted)
            return "";
        EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
        return messages.shown[0].text;
    }
    bool go() { return installFromForm(form, systemFileSystem(), messages, game.prefix()); }
    Bytes lastRecord(const std::string& folder)
    {
        Bytes table = readBytes(game.path() / "saves" / folder / "teamgear.dbf");
        return Bytes(table.end() - 29, table.end());
    }

    FakeJerseyForm form;
    RecordingMessages messages;
    TempFolder game;
};

TEST_F(FormRulesTest, ChecksInTheirOrderWithOneMessageEach)
{
    fill("", "", "");
    EXPECT_EQ(refusal(), "You forgot to fill in a field!");
    fill("5", "ABCD", "");
    EXPECT_EQ(refusal(), "You forgot to fill in a field!");
    fill("123", "ABC", "1998-99");
    EXPECT_EQ(refusal(), "The jersey name wasn't the right length!") << "name before team number";
    fill("123", "ABCD", "1998-99");
    EXPECT_EQ(refusal(), "The Team ID wasn't the right length!");
    fill("007", "ABCD", "1998-99");
    EXPECT_EQ(refusal(), "The Team ID wasn't the right length!");
    fill("5", "ABCD", "1998-9");
    EXPECT_EQ(refusal(), "The year wasn't the right length!");
    fill("5", "ABCD", "1998-999");
    EXPECT_EQ(refusal(), "The year wasn't the right length!");
    fill("0", "    ", "1998-99");
    EXPECT_EQ(refusal(), "") << "four spaces and team 0 are fine";
}

TEST_F(FormRulesTest, ReadsTheFormIntoAJersey)
{
    fill("07", "    ", "1998-99");
    form.rows[IDC_JERSEY_TYPE] = 1;
    form.rows[IDC_ACCESSORY_COLOUR] = 15;
    form.rows[IDC_SHOE] = 0;
    form.rows[IDC_NECK_TYPE] = 3;
    form.rows[IDC_LETTERING_TYPE] = 1;

    JerseySpec direct = readJerseyForm(form, 1);
    EXPECT_EQ(direct.teamNumber, 7);
    EXPECT_EQ(direct.jerseyType, 1);
    EXPECT_EQ(std::string(direct.jerseyName.data(), 4), "    ");
    EXPECT_EQ(std::string(direct.year.data()), "1998-99");
    EXPECT_EQ(direct.accessoryColour, 17);
    EXPECT_EQ(direct.shoe, 1);
    EXPECT_EQ(direct.neckType, 3);
    EXPECT_EQ(direct.letteringType, 1);
    EXPECT_EQ(readJerseyForm(form, 2).shoe, 2);
}

TEST_F(FormRulesTest, GoWithoutSaveSlotSweepsAndKeepsTheForm)
{
    addSaveTable(game, "000", 5);
    addSaveTable(game, "001", 5);
    fill("12", "WXYZ", "2001-02");
    const FakeJerseyForm before = form;

    EXPECT_TRUE(go());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});
    Bytes record = lastRecord("001");
    EXPECT_EQ(std::string(record.begin() + 6, record.begin() + 25), std::string("12") + "2WXYZ2001-02 2" +
                                                                       static_cast<char>(recordPattern(4)[22]) + " 1");
    EXPECT_EQ(form.texts, before.texts);
    EXPECT_EQ(form.rows, before.rows);

    EXPECT_TRUE(go()) << "a second Go! installs the same jersey again";
    EXPECT_EQ(recordCountOf(readBytes(game.path() / "saves" / "000" / "teamgear.dbf")), 7u);
}

TEST_F(FormRulesTest, GoWithASaveSlotUsesThatFolderOnly)
{
    addSaveTable(game, "000", 5);
    addSaveTable(game, "12", 5);
    fill("12", "WXYZ", "2001-02");
    form.texts[IDC_SAVE_SLOT] = "12";

    EXPECT_TRUE(go());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully!")});
    EXPECT_EQ(recordCountOf(readBytes(game.path() / "saves" / "12" / "teamgear.dbf")), 6u);
    EXPECT_EQ(recordCountOf(readBytes(game.path() / "saves" / "000" / "teamgear.dbf")), 5u);
}

TEST_F(FormRulesTest, RefusedFormsAndOverlongSaveSlotsInstallNothing)
{
    addSaveTable(game, "000", 5);
    fill("12", "WXY", "2001-02");
    EXPECT_FALSE(go());

    fill("12", "WXYZ", "2001-02");
    form.texts[IDC_SAVE_SLOT] = std::string(237, '0');
    messages.shown.clear();
    EXPECT_FALSE(go());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Save Slot")});
    EXPECT_EQ(recordCountOf(readBytes(game.path() / "saves" / "000" / "teamgear.dbf")), 5u);

    form.texts[IDC_SAVE_SLOT] = std::string(236, '0');
    messages.shown.clear();
    EXPECT_FALSE(go());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Directory!")}) << "236 characters still fit";
}

class MakeAPatchTest : public FormRulesTest {
protected:
    bool makePatch() { return writePatch(form, prompt, systemFileSystem(), messages); }

    FakePatchInfoPrompt prompt;
    ScopedCurrentFolder inGame{game.path()};
};

TEST_F(MakeAPatchTest, WritesThePatchOfTheFormWithShoeOffsetTwoAndIgnoresTheSaveSlot)
{
    fill("5", "ABCD", "1998-99");
    form.texts[IDC_SAVE_SLOT] = "3";
    form.rows[IDC_ACCESSORY_COLOUR] = 1;
    form.rows[IDC_SHOE] = 7;
    form.rows[IDC_SOCK_COLOUR] = 1;
    form.rows[IDC_NECK_TYPE] = 1;
    form.rows[IDC_LETTERING_TYPE] = 1;

    EXPECT_TRUE(makePatch());
    Bytes patch = readBytes(game.path() / "toronto_98.jer");
    ASSERT_EQ(patch.size(), 69u);
    EXPECT_EQ(patch[0], '\r') << "the first line stays empty";
    EXPECT_EQ(patch[30 + 23], 9) << "Shoe row 7 is stored as 9";
    EXPECT_EQ(patch[30 + 19], 3);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Patch file created: toronto_98.jer")});
}

TEST_F(MakeAPatchTest, RefusedFormsAndCancelWriteNothing)
{
    fill("5", "ABC", "1998-99");
    EXPECT_FALSE(makePatch());
    EXPECT_EQ(prompt.asked, 0) << "the form is checked before the prompt";

    fill("5", "ABCD", "1998-99");
    prompt.pressOk = false;
    messages.shown.clear();
    EXPECT_FALSE(makePatch());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(fs::exists(game.path() / "toronto_98.jer"));
}

TEST_F(MakeAPatchTest, AFormChangedWhileThePromptIsOpenIsCheckedAgain)
{
    fill("5", "ABCD", "1998-99");
    prompt.whileOpen = [this] { form.texts[IDC_YEAR] = "98"; };
    EXPECT_FALSE(makePatch());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("The year wasn't the right length!")});
    EXPECT_FALSE(fs::exists(game.path() / "toronto_98.jer"));
}

TEST(DecimalFieldTest, ReadsAsTheDialogDoes)
{
    EXPECT_EQ(decimalFieldValue("07"), 7u);
    EXPECT_EQ(decimalFieldValue("0"), 0u);
    EXPECT_EQ(decimalFieldValue(""), 0u);
    EXPECT_EQ(decimalFieldValue("1a"), 0u);
    EXPECT_EQ(decimalFieldValue("99999999999"), 0u);
}

}  // namespace
}  // namespace kitloom::test
