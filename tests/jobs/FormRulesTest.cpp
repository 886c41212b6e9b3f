#include "app/ProgramHooks.h"
#include "core/GamePaths.h"
#include "jobs/AddJob.h"
#include "jobs/MakePatchJob.h"
#include "tests/support/ForwardingFileSystem.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace kitloom::test {
namespace {

namespace fs = std::filesystem;

// Answers the Extra Patch Info dialog as a user would, under the dialog's own rule;
// `whileOpen` runs while it is shown.
class FakePatchInfoPrompt final : public PatchInfoPrompt {
public:
    explicit FakePatchInfoPrompt(Messages& messages) : messages_(messages) {}

    bool ask(std::string_view jerseyName, std::string& prefix, std::string& fileStem) override
    {
        ++asked;
        if (whileOpen)
            whileOpen();
        if (!pressOk)
            return false;
        if (const auto problem = patchInfoProblem(answerPrefix, answerStem, jerseyName)) {
            show(messages_, systemMessage(problem->message));
            return false;  // a user would press Cancel now
        }
        prefix = answerPrefix;
        fileStem = answerStem;
        return true;
    }

    bool pressOk = true;
    std::string answerPrefix = "to";
    std::string answerStem = "toronto_98";
    std::function<void()> whileOpen;
    int asked = 0;

private:
    Messages& messages_;
};

class FormRulesTest : public ::testing::Test {
protected:
    void fill(const std::string& team, const std::string& name, const std::string& year)
    {
        form.teamNumber = team;
        form.jerseyName = name;
        form.year = year;
    }
    // The form's first problem, or "" when it has none.
    std::string refusal()
    {
        const auto problem = jerseyFormProblem(form);
        return problem ? systemMessage(problem->message).text : "";
    }
    // Go! on the form, in the test's game.
    AddRequest addRequest() const
    {
        AddRequest request;
        request.form = form;
        request.game.given = game.prefix();
        request.hooks = &kProgramHooks;
        return request;
    }
    // Go!, keeping what the program says of it.
    bool go()
    {
        const AddResult added = addJersey(systemFileSystem(), addRequest());
        showAll(messages, added.messages);
        return added.installed();
    }
    Bytes lastRecord(const std::string& folder)
    {
        Bytes table = readBytes(game.path() / "saves" / folder / "teamgear.dbf");
        return Bytes(table.end() - 29, table.end());
    }

    JerseyForm form;
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
    form.row(JerseyList::JerseyType) = 1;
    form.row(JerseyList::AccessoryColour) = 15;
    form.row(JerseyList::Shoe) = 0;
    form.row(JerseyList::NeckType) = 3;
    form.row(JerseyList::LetteringType) = 1;

    JerseySpec direct = readJerseyForm(form, ShoeCode::Installed);
    EXPECT_EQ(direct.teamNumber, 7);
    EXPECT_EQ(direct.jerseyType, 1);
    EXPECT_EQ(std::string(direct.jerseyName.data(), 4), "    ");
    EXPECT_EQ(std::string(direct.year.data()), "1998-99");
    EXPECT_EQ(direct.accessoryColour, 17);
    EXPECT_EQ(direct.shoe, 1);
    EXPECT_EQ(direct.neckType, 3);
    EXPECT_EQ(direct.letteringType, 1);
    EXPECT_EQ(readJerseyForm(form, ShoeCode::InPatch).shoe, 2);

    // A team number that does not read as one gives 0, as the dialog's field does.
    for (const char* team : {"1a", "", "99999999999"}) {
        form.teamNumber = team;
        EXPECT_EQ(readJerseyForm(form, ShoeCode::Installed).teamNumber, 0) << team;
    }
}

TEST_F(FormRulesTest, GoWithoutSaveSlotSweepsAndKeepsTheForm)
{
    addSaveTable(game, "000", 5);
    addSaveTable(game, "001", 5);
    fill("12", "WXYZ", "2001-02");
    const JerseyForm before = form;

    EXPECT_TRUE(go());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});
    Bytes record = lastRecord("001");
    EXPECT_EQ(std::string(record.begin() + 6, record.begin() + 25),
              std::string("12") + "2WXYZ2001-02 2" + static_cast<char>(recordPattern(4)[22]) + " 1");
    EXPECT_EQ(form, before);

    EXPECT_TRUE(go()) << "a second Go! installs the same jersey again";
    EXPECT_EQ(recordCountOf(readBytes(game.path() / "saves" / "000" / "teamgear.dbf")), 7u);
}

// A save folder the user may not search is not the end of the saves: the sweep goes on
// past it, as past any table it cannot open.
TEST_F(FormRulesTest, GoSweepsPastASaveFolderItCannotReach)
{
    class DeniedSave final : public ForwardingFileSystem {
    public:
        explicit DeniedSave(std::string table) : table_(std::move(table)) {}
        bool missing(const std::string& path) override
        {
            return path != table_ && ForwardingFileSystem::missing(path);
        }
        Opened openForUpdate(const std::string& path) override
        {
            return path == table_ ? Opened{} : ForwardingFileSystem::openForUpdate(path);
        }

    private:
        std::string table_;
    };
    addSaveTable(game, "000", 5);
    addSaveTable(game, "002", 5);
    fill("12", "WXYZ", "2001-02");
    DeniedSave denied(namedSaveTablePath(game.prefix(), "001"));
    const AddResult added = addJersey(denied, addRequest());
    EXPECT_EQ(added.messages, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});
    EXPECT_EQ(added.status, JobStatus::Failed) << "a save that failed fails the job, whatever Go! says";
    ASSERT_EQ(added.job.tables.size(), 3u);
    EXPECT_EQ(added.job.tables[1].result, ResultCode::TableUnusable);
    EXPECT_EQ(recordCountOf(readBytes(game.path() / "saves" / "002" / "teamgear.dbf")), 6u);
}

TEST_F(FormRulesTest, GoWithASaveSlotUsesThatFolderOnly)
{
    addSaveTable(game, "000", 5);
    addSaveTable(game, "12", 5);
    fill("12", "WXYZ", "2001-02");
    form.saveSlot = "12";

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
    form.saveSlot = std::string(237, '0');
    messages.shown.clear();
    EXPECT_FALSE(go());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Save Slot")});
    EXPECT_EQ(recordCountOf(readBytes(game.path() / "saves" / "000" / "teamgear.dbf")), 5u);

    // 236 characters pass the form. Under the test's temporary folder the whole path is
    // past 259 characters, which these file calls reach (kitloom-cli's, on Windows too): the
    // system says the table is not there.
    form.saveSlot = std::string(236, '0');
    messages.shown.clear();
    EXPECT_FALSE(go());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Directory!")}) << "236 characters still fit";
}

class MakeAPatchTest : public FormRulesTest {
protected:
    bool makePatch()
    {
        const MakePatchResult made = kitloom::makePatch([this] { return form; }, prompt, systemFileSystem());
        showAll(messages, made.messages);
        return made.written;
    }

    FakePatchInfoPrompt prompt{messages};
    ScopedCurrentFolder inGame{game.path()};
};

TEST_F(MakeAPatchTest, WritesThePatchOfTheFormWithShoeOffsetTwoAndIgnoresTheSaveSlot)
{
    fill("5", "ABCD", "1998-99");
    form.saveSlot = "3";
    form.row(JerseyList::AccessoryColour) = 1;
    form.row(JerseyList::Shoe) = 7;
    form.row(JerseyList::SockColour) = 1;
    form.row(JerseyList::NeckType) = 1;
    form.row(JerseyList::LetteringType) = 1;

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
    prompt.whileOpen = [this] { form.year = "98"; };
    EXPECT_FALSE(makePatch());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("The year wasn't the right length!")});

    // The image names were fine when the prompt checked them, but not any more.
    messages.shown.clear();
    fill("5", "ABCD", "1998-99");
    prompt.whileOpen = [this] { form.jerseyName = "A:*?"; };
    EXPECT_FALSE(makePatch());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Field")});
    EXPECT_FALSE(fs::exists(game.path() / "toronto_98.jer"));
}

TEST(PatchInfoRuleTest, ThePrefixAndJerseyNameMustMakeAPlainFileName)
{
    EXPECT_EQ(patchInfoProblem("to", "toronto_98", "ABCD"), std::nullopt);
    EXPECT_EQ(patchInfoProblem("  ", std::string(75, 'f'), "    "), std::nullopt) << "spaces and 75 characters";
    EXPECT_EQ(patchInfoProblem("\x80\xE9", "f",
                               "\xC4"
                               "BCD"),
              std::nullopt)
        << "letters of the code page";
    struct Case {
        std::string prefix, stem, name;
        FormField field = FormField::Prefix;  // the one the problem is about
    };
    const Case refused[] = {
        {"t", "f", "ABCD"},
        {"tor", "f", "ABCD"},
        {"to", "", "ABCD", FormField::FileStem},
        {"to", std::string(76, 'f'), "ABCD", FormField::FileStem},
        {"a/", "f", "ABCD"},
        {"to", "f", "A:*?"},
        {"to", "f", "AB\\D"},
        {"<>", "f", "ABCD"},
        {"to", "f", "AB|D"},
        {"\"t", "f", "ABCD"},
        {"to", "f", "AB\r\nD"},
        {"t\t", "f", "ABCD"},
        {"to", "f", "ABC\x7F"},
        // Windows would open a device for CON.ab.fsh: the installer refuses it.
        {"CO", "f", "N.ab"},
        {"lp", "f", "t1.x"},
    };
    for (const Case& c : refused)
        EXPECT_EQ(patchInfoProblem(c.prefix, c.stem, c.name), (FormProblem{MessageId::InvalidField, c.field}))
            << c.prefix << c.name << " " << c.stem;
}

}  // namespace
}  // namespace kitloom::test
