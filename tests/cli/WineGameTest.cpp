// kitloom-cli run outside the game's folder on Linux: the game is found in a Wine prefix,
// under a temporary HOME, with its names in the installer's case.
#include "tests/cli/CliRun.h"
#include "patch/PatchFormat.h"
#include "platform/TerminalText.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>

#include <unistd.h>

namespace kitloom::test {
namespace {

namespace fs = std::filesystem;

CliRun run(const std::vector<std::string>& args) { return runIt(args); }

const std::vector<std::string> kAdd = {"add", "--team", "5", "--name", "ABCD", "--year", "1998-99"};

// A temporary HOME (and no WINEPREFIX or XDG folders) for the test, and an empty current
// folder in it.
class WineGameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(name);
        }
        ::setenv("HOME", home.path().c_str(), 1);
        fs::create_directories(home.path() / "elsewhere");
        here_.emplace(home.path() / "elsewhere");
    }
    void TearDown() override
    {
        here_.reset();
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i])
                ::setenv(kVariables[i], saved_[i]->c_str(), 1);
            else
                ::unsetenv(kVariables[i]);
        }
    }
    // A game in `prefix` as its installer spells it; returns the game folder.
    fs::path installGame(const fs::path& prefix, const std::string& programFiles = "Program Files (x86)")
    {
        const fs::path game = prefix / "drive_c" / programFiles / "Orvanta/Dunkmere";
        fs::create_directories(game / "Saves/000");
        fs::create_directories(game / "Render");
        writeBytes(game / "Saves/000/TEAMGEAR.DBF", makeTable(3));
        return game;
    }

    // A patch of the jersey WXYZ with its two images, in ~/Downloads.
    std::string downloadPatch()
    {
        JerseySpec spec = exampleJersey(2);
        std::copy_n("WXYZ", 4, spec.jerseyName.begin());
        std::copy_n("1998-99", 7, spec.year.begin());
        const fs::path downloads = home.path() / "Downloads";
        writeBytes(downloads / "toronto_98.jer", toBytes(encodePatch("to", spec)));
        writeBytes(downloads / "toWXYZ.fsh", toBytes("image"));
        writeBytes(downloads / "toWXYZ_num.fsh", toBytes("number image"));
        return (downloads / "toronto_98.jer").string();
    }

    TempFolder home;

private:
    static constexpr const char* kVariables[] = {"HOME",          "WINEPREFIX", "XDG_CONFIG_HOME",
                                                 "XDG_DATA_HOME", "PATH",       "XDG_STATE_HOME"};
    std::vector<std::optional<std::string>> saved_;
    std::optional<ScopedCurrentFolder> here_;
};

TEST_F(WineGameTest, OneGameInWineIsUsedFromAnyFolderWithItsNamesInAnyCase)
{
    const fs::path game = installGame(home.path() / ".wine");
    CliRun where = run({"where"});
    EXPECT_EQ(where.status, 0) << where.err;
    EXPECT_EQ(where.out, game.string() + "\n");

    CliRun add = run(kAdd);
    EXPECT_EQ(add.status, 0) << add.err;
    EXPECT_EQ(add.out, "game: " + game.string() + "\n" + (game / "Saves/000/TEAMGEAR.DBF").string() +
                           ": added as record 4\nSUCCESS: Jersey Installed Succesfully\n");

    CliRun install = run({"install", downloadPatch()});
    EXPECT_EQ(install.status, 0) << install.err;
    EXPECT_TRUE(fs::exists(game / "Render/xteam/toWXYZ.fsh"));
    EXPECT_TRUE(fs::exists(game / "Render/xteam/toWXYZ_num.fsh"));
    EXPECT_FALSE(fs::exists(game / "render"));
    EXPECT_EQ(recordCountOf(readBytes(game / "Saves/000/TEAMGEAR.DBF")), 5u);

    // Where the system has both spellings, the exact name wins.
    fs::create_directories(game / "saves/000");
    writeBytes(game / "saves/000/teamgear.dbf", makeTable(2));
    std::vector<std::string> named = kAdd;
    named.insert(named.end(), {"--game", game.string()});
    EXPECT_EQ(run(named).status, 0);
    EXPECT_EQ(recordCountOf(readBytes(game / "saves/000/teamgear.dbf")), 3u);
    EXPECT_EQ(recordCountOf(readBytes(game / "Saves/000/TEAMGEAR.DBF")), 5u);
}

TEST_F(WineGameTest, WinePrefixWinsSteamCountsSeveralRefuseStaleOnesAreNotesAndNoneSaysWhereItLooked)
{
    // None: the hint, and nothing made.
    CliRun none = run(kAdd);
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("No game folder was found"), std::string::npos) << none.err;
    EXPECT_NE(none.err.find((home.path() / ".wine").string()), std::string::npos) << none.err;
    EXPECT_NE(none.err.find("--game DIR"), std::string::npos);
    EXPECT_EQ(run({"where"}).status, 1);

    // A Steam prefix alone is found, under a lower-case Program Files too.
    const fs::path steam = installGame(home.path() / ".local/share/Steam/steamapps/compatdata/2400/pfx",
                                       "program files");
    CliRun found = run({"where"});
    EXPECT_EQ(found.out, steam.string() + "\n") << found.err;
    // ~/.steam/steam is a link to that Steam folder: the same game, not a second one.
    fs::create_directories(home.path() / ".steam");
    fs::create_directory_symlink(home.path() / ".local/share/Steam", home.path() / ".steam/steam");
    EXPECT_EQ(run({"where"}).out, found.out);

    // Two games: refused, both named, nothing changed.
    const fs::path wine = installGame(home.path() / ".wine");
    CliRun several = run(kAdd);
    EXPECT_EQ(several.status, 1);
    EXPECT_NE(several.err.find(steam.string()), std::string::npos) << several.err;
    EXPECT_NE(several.err.find(wine.string()), std::string::npos) << several.err;
    EXPECT_NE(several.err.find("  kitloom-cli where --use '" + wine.string() + "'\n"), std::string::npos) << several.err;
    EXPECT_EQ(recordCountOf(readBytes(wine / "Saves/000/TEAMGEAR.DBF")), 3u);
    // where lists both, says where they are and that neither is used until one is chosen, and
    // fails as the next command would.
    const CliRun listed = run({"where"});
    EXPECT_EQ(listed.status, 1);
    EXPECT_NE(listed.err.find("hint: 2 games were found in ~/.wine and Steam, so none is used until one is chosen"),
              std::string::npos)
        << listed.err;
    EXPECT_NE(listed.err.find("  kitloom-cli where --use '" + wine.string() + "'\n"), std::string::npos) << listed.err;

    // WINEPREFIX holding the game is used alone; one that is no prefix is refused.
    const fs::path chosen = installGame(home.path() / "games/prefix", "Program Files");
    ::setenv("WINEPREFIX", (home.path() / "games/prefix").c_str(), 1);
    CliRun preferred = run(kAdd);
    EXPECT_EQ(preferred.status, 0) << preferred.err;
    EXPECT_EQ(recordCountOf(readBytes(chosen / "Saves/000/TEAMGEAR.DBF")), 4u);
    EXPECT_EQ(run({"where"}).out.rfind(chosen.string() + "\n", 0), 0u);
    // A WINEPREFIX left from a prefix that is gone is a note; the search goes on.
    fs::remove_all(steam.parent_path().parent_path().parent_path().parent_path());
    for (const char* stale : {"games/nowhere", "games"}) {
        ::setenv("WINEPREFIX", (home.path() / stale).c_str(), 1);
        CliRun passed = run(kAdd);
        EXPECT_EQ(passed.status, 0) << passed.err;
        EXPECT_EQ(passed.err.rfind("note: WINEPREFIX", 0), 0u) << passed.err;
    }
    EXPECT_EQ(recordCountOf(readBytes(wine / "Saves/000/TEAMGEAR.DBF")), 5u);

    // A Steam folder that cannot be read is passed over, and where says so.
    ::unsetenv("WINEPREFIX");
    const fs::path locked = home.path() / ".local/share/Steam/steamapps/compatdata/9";
    fs::create_directories(locked.parent_path());
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::none);
    CliRun skipped = run({"where"});
    fs::permissions(locked, fs::perms::owner_all);
    if (::geteuid() != 0) {  // root reads it all the same
        EXPECT_NE(skipped.err.find(locked.string() + ": could not be read"), std::string::npos) << skipped.err;
    }
}

TEST_F(WineGameTest, AGameChosenOnceIsUsedUntilForgottenAndAFolderReachedTwiceIsOneGame)
{
    const fs::path wine = installGame(home.path() / ".wine");
    const fs::path bottle = installGame(home.path() / ".local/share/bottles/bottles/Dunk", "Program Files");
    // A link in a prefix to a folder searched already is one game, where it was found first.
    fs::create_directories(home.path() / ".PlayOnLinux/wineprefix/linked/drive_c");
    fs::create_directory_symlink(wine.parent_path(), home.path() / ".PlayOnLinux/wineprefix/linked/drive_c/Games");
    EXPECT_EQ(run({"where"}).out, wine.string() + "\n" + bottle.string() + "\n");
    EXPECT_EQ(run(kAdd).status, 1);

    const fs::path kept = home.path() / ".config/kitloom/game";
    for (const auto& [folder, status] :
         {std::pair{std::string("nowhere"), 1}, std::pair{home.path().string(), 1}, std::pair{std::string(""), 2}}) {
        CliRun refused = run({"where", "--use", folder});
        EXPECT_EQ(refused.status, status) << folder;
        EXPECT_FALSE(refused.err.empty());
        EXPECT_FALSE(fs::exists(kept));
    }
    CliRun use = run({"where", "--use", bottle.string()});
    EXPECT_EQ(use.status, 0) << use.err;
    EXPECT_EQ(readBytes(kept), toBytes(bottle.string() + "\n"));
    EXPECT_EQ(run({"where"}).out, bottle.string() + " (chosen with 'kitloom-cli where --use')\n" + wine.string() + "\n");
    const auto listed = nlohmann::json::parse(run({"where", "--json"}).out);
    EXPECT_EQ(listed["used"], bottle.string());
    EXPECT_EQ(listed["games"][1],
              nlohmann::json::parse(R"({"folder": ")" + wine.string() + R"(", "place": "wine", "winePrefix": ")" +
                                    (home.path() / ".wine").string() + R"(", "used": false})"));
    CliRun add = run(kAdd);
    EXPECT_EQ(add.status, 0) << add.err;
    EXPECT_EQ(add.out.rfind("game: " + bottle.string() + " (chosen", 0), 0u) << add.out;

    // A chosen game that is gone is a note, and the search goes on.
    fs::rename(bottle / "Saves", bottle / "Saves.old");
    CliRun gone = run(kAdd);
    EXPECT_EQ(gone.status, 0) << gone.err;
    EXPECT_EQ(gone.err.rfind("note: the game chosen with 'kitloom-cli where --use' holds no saves", 0), 0u) << gone.err;
    EXPECT_EQ(recordCountOf(readBytes(wine / "Saves/000/TEAMGEAR.DBF")), 4u);

    EXPECT_EQ(run({"where", "--forget"}).status, 0);
    EXPECT_FALSE(fs::exists(kept));
    EXPECT_EQ(run({"where", "--forget"}).out, "no game was chosen\n");
}

TEST_F(WineGameTest, AGameInsideTheFolderGivenIsUsedAndSaidSoAndEachNoteIsSaidOnce)
{
    const fs::path game = installGame(home.path() / ".wine");
    for (const fs::path& given : {home.path() / ".wine", home.path() / ".wine/drive_c/Program Files (x86)"}) {
        CliRun listed = run({"list", "--game", given.string()});
        EXPECT_EQ(listed.status, 0) << listed.err;
        EXPECT_EQ(listed.out.rfind("game: " + game.string() + " (found in the folder --game names)\n", 0), 0u)
            << listed.out;
    }
    std::vector<std::string> add = kAdd;
    add.insert(add.end(), {"--game", home.path().string()});
    EXPECT_EQ(run(add).status, 0);
    EXPECT_EQ(recordCountOf(readBytes(game / "Saves/000/TEAMGEAR.DBF")), 4u);

    // A Steam prefix that is a link to ~/.wine is the same game, found once.
    const fs::path compat = home.path() / ".local/share/Steam/steamapps/compatdata/2400";
    fs::create_directories(compat);
    fs::create_directory_symlink(home.path() / ".wine", compat / "pfx");
    ::setenv("WINEPREFIX", (home.path() / "gone").c_str(), 1);
    for (const std::vector<std::string>& command : {std::vector<std::string>{"where"}, std::vector<std::string>{"list"},
                                                    std::vector<std::string>{"install", downloadPatch()}}) {
        const CliRun once = run(command);
        EXPECT_EQ(once.status, 0) << once.err;
        const std::size_t note = once.err.find("note: WINEPREFIX");
        EXPECT_NE(note, std::string::npos) << once.err;
        EXPECT_EQ(once.err.find("note: WINEPREFIX", note + 1), std::string::npos) << once.err;
    }
    ::unsetenv("WINEPREFIX");
    EXPECT_EQ(run({"where"}).out, game.string() + "\n");
}

// Opened from a file manager: no terminal, so the desktop's own dialogs ask and tell. The
// stand-ins for zenity and notify-send add what they were given to PROGRAM.args, and answer
// with PROGRAM.answer (none: cancelled), then with PROGRAM.next when there is one.
class DesktopTest : public WineGameTest {
protected:
    void SetUp() override
    {
        WineGameTest::SetUp();
        fs::create_directories(bin);
        for (const char* program : {"zenity", "notify-send"})
            standIn(program);
        writeBytes(bin / "notify-send.answer", {});
        ::setenv("PATH", bin.c_str(), 1);
        ::setenv("XDG_STATE_HOME", (home.path() / "state").c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("XDG_STATE_HOME");
        WineGameTest::TearDown();
    }
    void standIn(const char* program)
    {
        writeBytes(bin / program, toBytes("#!/bin/sh\nPATH=/usr/bin:/bin\nprintf '%s\\n' \"$@\" >> \"$0.args\"\n"
                                          "[ -f \"$0.answer\" ] || exit 1\ncat \"$0.answer\"\n"
                                          "[ -f \"$0.next\" ] && mv \"$0.next\" \"$0.answer\"\nexit 0\n"));
        fs::permissions(bin / program, fs::perms::owner_all);
    }
    std::string argsOf(const char* program)
    {
        const fs::path file = bin / (std::string(program) + ".args");
        if (!fs::exists(file))
            return "";
        const Bytes args = readBytes(file);
        fs::remove(file);
        return std::string(args.begin(), args.end());
    }

    const fs::path bin = home.path() / "bin";
};

TEST_F(DesktopTest, ADoubleClickAsksForTheGameUntilItIsOneAndShowsTheOutcome)
{
    const fs::path game = home.path() / "Games/Dunkmere";
    fs::create_directories(game / "render");
    writeBytes(game / "saves/000/teamgear.dbf", makeTable(3));
    fs::create_directories(home.path() / ".wine/drive_c");
    const std::string patch = downloadPatch();

    // Not found: a folder chooser, opened in the prefix found; a folder without saves is asked
    // for again, saying why; the choice is kept, and the log says it is used.
    writeBytes(bin / "zenity.answer", toBytes(home.path().string() + "\n"));
    writeBytes(bin / "zenity.next", toBytes(game.string() + "\n"));
    CliRun first = run({"install", "--notify", patch});
    EXPECT_EQ(first.status, 0) << first.err;
    const std::string asked = argsOf("zenity");
    const std::string chooser = "--file-selection\n--directory\n";
    EXPECT_EQ(asked.rfind(chooser +
                              "--title=Kitloom: choose Dunkmere's game folder, the one that holds saves\n"
                              "--filename=" +
                              (home.path() / ".wine/drive_c/").string() + "\n" + chooser + "--title=" +
                              home.path().string() + " holds no saves folder, so it is not the game folder. Kitloom:",
                          0),
              0u)
        << asked;
    EXPECT_EQ(first.out.rfind("game: " + game.string() + " (chosen when asked, and kept)\n", 0), 0u) << first.out;
    EXPECT_EQ(argsOf("notify-send"), "--app-name=Kitloom\nKitloom: jersey installed\nWXYZ 1998-99 added to save 000\n");
    EXPECT_EQ(readBytes(home.path() / ".config/kitloom/game"), toBytes(game.string() + "\n"));
    EXPECT_EQ(recordCountOf(readBytes(game / "saves/000/teamgear.dbf")), 4u);

    // Again: the game chosen is used without asking, and the jersey is not added twice;
    // --again adds it all the same, and a dry run says what a real run does.
    writeBytes(fs::path(patch).parent_path() / "toWXYZ.fsh", toBytes("image"));
    CliRun again = run({"install", "--notify", patch});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(argsOf("zenity"), "");
    EXPECT_NE(again.out.find("teamgear.dbf: already there as record 4\n"), std::string::npos) << again.out;
    EXPECT_EQ(argsOf("notify-send"),
              "--app-name=Kitloom\nKitloom: jersey already there\nWXYZ 1998-99 already in save 000\n");
    std::string dry = run({"install", patch, "--dry-run"}).out;
    dry.erase(dry.find(" (dry run: nothing was changed)"), 31);
    EXPECT_EQ(dry, again.out);
    EXPECT_EQ(run({"install", patch, "--again"}).status, 0);
    EXPECT_EQ(recordCountOf(readBytes(game / "saves/000/teamgear.dbf")), 5u);

    // Without notify-send, zenity shows the outcome.
    fs::remove(bin / "notify-send");
    EXPECT_EQ(run({"install", "--notify", patch}).status, 0);
    EXPECT_EQ(argsOf("zenity").rfind("--info\n--no-markup\n--title=Kitloom: jersey already there\n", 0), 0u);

    // Several and none chosen: a list of them. Cancelling changes nothing and tells nothing.
    standIn("notify-send");
    ASSERT_EQ(run({"where", "--forget"}).status, 0);
    const fs::path wine = installGame(home.path() / ".wine");
    installGame(home.path() / ".PlayOnLinux/wineprefix/dunk");
    fs::remove(bin / "zenity.answer");
    CliRun cancelled = run({"install", "--notify", patch});
    EXPECT_EQ(cancelled.status, 1);
    const std::string listed = argsOf("zenity");
    EXPECT_EQ(listed.rfind("--list\n", 0), 0u) << listed;
    EXPECT_NE(listed.find("\n" + wine.string() + "\n"), std::string::npos) << listed;
    EXPECT_EQ(argsOf("notify-send"), "");
    EXPECT_EQ(recordCountOf(readBytes(wine / "Saves/000/TEAMGEAR.DBF")), 3u);

    // Without a chooser, the notification says what makes the double-click ask, and names no
    // command to type.
    fs::remove(bin / "zenity");
    CliRun unasked = run({"install", "--notify", patch});
    EXPECT_EQ(unasked.status, 1);
    const std::string told = argsOf("notify-send");
    EXPECT_EQ(told.rfind("--app-name=Kitloom\nKitloom: jersey not installed\n2 game folders were found in ~/.wine and "
                         "PlayOnLinux, so none was used:\n  ~/.wine/",
                         0),
              0u)
        << told;
    EXPECT_NE(told.find("With zenity or kdialog installed, Kitloom asks for the game folder"), std::string::npos)
        << told;
    EXPECT_EQ(told.find("kitloom-cli"), std::string::npos) << told;

    // Without anything to show it, the outcome goes to a log, and the next command from a
    // terminal says so once.
    fs::remove(bin / "notify-send");
    CliRun logged = run({"install", "--notify", patch});
    const fs::path log = home.path() / "state/kitloom/outcomes.log";
    EXPECT_NE(logged.err.find("it was written to " + log.string()), std::string::npos) << logged.err;
    const Bytes text = readBytes(log);
    EXPECT_NE(std::string(text.begin(), text.end()).find(" Kitloom: jersey not installed\n2 game folders"),
              std::string::npos);
    EXPECT_NE(run({"where"}).err.find("note: an install opened from the file manager could not show its outcome on "
                                      "the desktop (no notify-send, zenity or kdialog); it is in " +
                                      log.string()),
              std::string::npos);
    EXPECT_EQ(run({"where"}).err.find("note: an install"), std::string::npos);
}

// Five patches opened together into a game deep in a Proton prefix: one notification, a line
// for each patch, the reason of each that did not go in whole, and paths shortened, not cut.
TEST_F(DesktopTest, FivePatchesGiveOneNotificationWithEachOutcomeAndItsWholeReason)
{
    std::string deep = "drive_c/Program Files (x86)";
    while (deep.size() < 100)
        deep += "/Sports Titles Collection";
    const fs::path steam = home.path() / ".local/share/Steam/steamapps/compatdata/2400700/pfx";
    const fs::path game = installGame(steam / deep.substr(8), "Orvanta");
    fs::rename(game.parent_path(), game.parent_path().parent_path() / "Orvanta2");
    const fs::path moved = game.parent_path().parent_path() / "Orvanta2" / "Dunkmere";
    ASSERT_GE(moved.string().size(), 200u);
    ASSERT_EQ(run({"where", "--use", moved.string()}).status, 0);

    const fs::path five = home.path() / "Downloads/five";
    std::vector<std::string> install = {"install", "--notify"};
    for (const char* name : {"AAAA", "BBBB", "CCCC", "DDDD"}) {
        JerseySpec spec = exampleJersey(2);
        std::copy_n(name, 4, spec.jerseyName.begin());
        std::copy_n("1998-99", 7, spec.year.begin());
        const std::string file = (five / (std::string(name) + ".jer")).string();
        writeBytes(file, toBytes(encodePatch("dd", spec)));
        writeBytes(five / ("dd" + std::string(name) + ".fsh"), toBytes("image"));
        writeBytes(five / ("dd" + std::string(name) + "_num.fsh"), toBytes("number image"));
        install.push_back(file);
    }
    writeBytes(five / "broken.jer", toBytes("no patch\n"));
    install.push_back((five / "broken.jer").string());
    ASSERT_EQ(run({"install", install[4]}).status, 0) << "CCCC goes in first";
    writeBytes(five / "ddCCCC.fsh", toBytes("image"));
    writeBytes(five / "ddCCCC_num.fsh", toBytes("number image"));
    writeBytes(moved / "Render/xteam/ddDDDD.fsh", toBytes("another jersey's image"));

    EXPECT_EQ(run(install).status, 1);
    const std::string told = argsOf("notify-send");
    const std::string shortGame = "~/.local/share/Steam/\xE2\x80\xA6/Orvanta2/Dunkmere";
    EXPECT_EQ(told,
              "--app-name=Kitloom\nKitloom: 3 of 5 jerseys installed\n"
              "AAAA 1998-99: added to save 000\n"
              "BBBB 1998-99: added to save 000\n"
              "CCCC 1998-99: already in save 000\n"
              "DDDD 1998-99: not installed: " +
                  shortGame + "/Render/xteam/ddDDDD.fsh is another image than ~/Downloads/five/ddDDDD.fsh: " +
                  "both are kept, and the jersey would show the one in the art folder\n"
                  "broken.jer: not installed: Invalid patch file!\n");
}

}  // namespace
}  // namespace kitloom::test
