// kitloom-cli run outside the game's folder on Linux: the game is found in a Wine prefix,
// under a temporary HOME, with its names in the installer's case.
#include "tests/cli/CliRun.h"
#include "patch/PatchFormat.h"
#include "platform/TerminalText.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

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

// A temporary HOME (and no WINEPREFIX) for the test, and an empty current folder in it.
class WineGameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* wine = std::getenv("WINEPREFIX");
        savedWinePrefix_ = wine ? std::optional<std::string>(wine) : std::nullopt;
        savedHome_ = std::getenv("HOME");
        ::setenv("HOME", home.path().c_str(), 1);
        ::unsetenv("WINEPREFIX");
        fs::create_directories(home.path() / "elsewhere");
        here_.emplace(home.path() / "elsewhere");
    }
    void TearDown() override
    {
        here_.reset();
        ::setenv("HOME", savedHome_.c_str(), 1);
        if (savedWinePrefix_)
            ::setenv("WINEPREFIX", savedWinePrefix_->c_str(), 1);
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

    TempFolder home;

private:
    std::string savedHome_;
    std::optional<std::string> savedWinePrefix_;
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

    JerseySpec spec = exampleJersey(2);
    std::copy_n("WXYZ", 4, spec.jerseyName.begin());
    const fs::path downloads = home.path() / "Downloads";
    writeBytes(downloads / "toronto_98.jer", toBytes(encodePatch("to", spec)));
    writeBytes(downloads / "toWXYZ.fsh", toBytes("image"));
    writeBytes(downloads / "toWXYZ_num.fsh", toBytes("number image"));
    CliRun install = run({"install", (downloads / "toronto_98.jer").string()});
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

TEST_F(WineGameTest, WinePrefixWinsSteamCountsSeveralRefuseAndNoneSaysWhereItLooked)
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
    EXPECT_NE(several.err.find("pick one with --game"), std::string::npos);
    EXPECT_EQ(recordCountOf(readBytes(wine / "Saves/000/TEAMGEAR.DBF")), 3u);

    // WINEPREFIX holding the game is used alone; one that is no prefix is refused.
    const fs::path chosen = installGame(home.path() / "games/prefix", "Program Files");
    ::setenv("WINEPREFIX", (home.path() / "games/prefix").c_str(), 1);
    CliRun preferred = run(kAdd);
    EXPECT_EQ(preferred.status, 0) << preferred.err;
    EXPECT_EQ(recordCountOf(readBytes(chosen / "Saves/000/TEAMGEAR.DBF")), 4u);
    EXPECT_EQ(run({"where"}).out.rfind(chosen.string() + "\n", 0), 0u);
    for (const char* bad : {"games/nowhere", "games"}) {
        ::setenv("WINEPREFIX", (home.path() / bad).c_str(), 1);
        CliRun refused = run(kAdd);
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("ERROR: WINEPREFIX"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(recordCountOf(readBytes(chosen / "Saves/000/TEAMGEAR.DBF")), 4u);

    // A Steam folder that cannot be read is passed over, and where says so.
    ::unsetenv("WINEPREFIX");
    const fs::path locked = home.path() / ".local/share/Steam/steamapps/compatdata/9";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::none);
    CliRun skipped = run({"where"});
    fs::permissions(locked, fs::perms::owner_all);
    if (::geteuid() != 0) {  // root reads it all the same
        EXPECT_NE(skipped.err.find(locked.string() + ": could not be read"), std::string::npos) << skipped.err;
    }
}

}  // namespace
}  // namespace kitloom::test
