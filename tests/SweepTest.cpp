#include "core/GamePaths.h"
#include "core/TeamGearFile.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace kitloom::test {
namespace {

namespace fs = std::filesystem;

JerseySpec someSpec()
{
    JerseySpec spec;
    spec.teamNumber = 12;
    std::memcpy(spec.jerseyName.data(), "WXYZ", 4);
    std::memcpy(spec.year.data(), "2001-02", 8);
    spec.accessoryColour = 2;
    spec.shoe = 1;
    return spec;
}

class SweepTest : public ::testing::Test {
protected:
    bool sweep(TableObserver* observer = nullptr)
    {
        std::string tablePath;
        TeamGearFile teamGear(systemFileSystem(), messages, game.prefix());
        teamGear.setObserver(observer);
        bool installed = teamGear.installJersey(tablePath, someSpec(), false);
        lastPathTried = tablePath;
        return installed;
    }
    bool installNamed(const std::string& folder, TableObserver* observer = nullptr)
    {
        std::string tablePath = namedSaveTablePath(game.prefix(), folder);
        TeamGearFile teamGear(systemFileSystem(), messages, game.prefix());
        teamGear.setObserver(observer);
        return teamGear.installJersey(tablePath, someSpec(), true);
    }
    std::string tableIn(const std::string& folder) { return namedSaveTablePath(game.prefix(), folder); }
    std::uint32_t countIn(const std::string& folder)
    {
        return recordCountOf(readBytes(game.path() / "saves" / folder / "teamgear.dbf"));
    }

    TempFolder game;
    RecordingMessages messages;
    std::string lastPathTried;
};

TEST_F(SweepTest, AppendsToEveryNumberedFolderUpToTheFirstMissingOne)
{
    for (const char* folder : {"000", "001", "002"})
        addSaveTable(game, folder, 5);

    EXPECT_TRUE(sweep());
    for (const char* folder : {"000", "001", "002"})
        EXPECT_EQ(countIn(folder), 6u) << folder;
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});
    EXPECT_EQ(lastPathTried, game.prefix() + "saves" + kPathSeparator + "003" + kPathSeparator + "teamgear.dbf");
}

TEST_F(SweepTest, MissingFirstFolderInstallsNothing)
{
    addSaveTable(game, "001", 5);
    EXPECT_FALSE(sweep());
    EXPECT_EQ(countIn("001"), 5u);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Save Slot")});
}

TEST_F(SweepTest, AGapEndsTheSweep)
{
    for (const char* folder : {"000", "001", "003"})
        addSaveTable(game, folder, 5);
    EXPECT_TRUE(sweep());
    EXPECT_EQ(countIn("001"), 6u);
    EXPECT_EQ(countIn("003"), 5u);
}

TEST_F(SweepTest, FolderHundredFollowsNinetyNine)
{
    for (int folder = 0; folder <= 100; ++folder) {
        char name[8];
        std::snprintf(name, sizeof name, "%03d", folder);
        addSaveTable(game, name, 2);
    }
    EXPECT_TRUE(sweep());
    EXPECT_EQ(countIn("099"), 3u);
    EXPECT_EQ(countIn("100"), 3u);
}

// Silently for the user; the observer hears of each, and can stop the sweep.
TEST_F(SweepTest, FullAndDamagedTablesArePassedOverSilently)
{
    addSaveTable(game, "000", 999);
    addSaveTable(game, "001", 5);
    writeBytes(game.path() / "saves" / "002" / "teamgear.dbf", toBytes("not a table"));
    addSaveTable(game, "003", 5);

    RecordingObserver observer;
    EXPECT_TRUE(sweep(&observer));
    EXPECT_EQ(countIn("000"), 999u);
    EXPECT_EQ(countIn("001"), 6u);
    EXPECT_EQ(countIn("003"), 6u);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});
    EXPECT_EQ(observer.reports, (std::vector<TableReport>{{tableIn("000"), ResultCode::TableFull, 0, ""},
                                                          {tableIn("001"), ResultCode::Appended, 6, ""},
                                                          {tableIn("002"), ResultCode::TableDamaged, 0, ""},
                                                          {tableIn("003"), ResultCode::Appended, 6, ""}}));

    messages.shown.clear();
    RecordingObserver stopping(2);
    EXPECT_TRUE(sweep(&stopping));
    EXPECT_EQ(stopping.reports.size(), 2u);
    EXPECT_EQ(countIn("001"), 7u);
    EXPECT_EQ(countIn("003"), 6u) << "stopped before";
    EXPECT_TRUE(messages.shown.empty()) << "the caller reports";
}

TEST_F(SweepTest, NoTableAppendedReportsTheFirstFailureNotSuccess)
{
    addSaveTable(game, "000", 999);
    writeBytes(game.path() / "saves" / "001" / "teamgear.dbf", toBytes("not a table"));
    EXPECT_FALSE(sweep());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("There are already 999 jerseys!")});

    messages.shown.clear();
    fs::remove_all(game.path() / "saves" / "000");
    fs::rename(game.path() / "saves" / "001", game.path() / "saves" / "000");
    EXPECT_FALSE(sweep());
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("The team gear file is damaged!")});
}

TEST_F(SweepTest, NamedFolderIsUsedAsTyped)
{
    addSaveTable(game, "003", 5);
    addSaveTable(game, "3", 5);

    EXPECT_TRUE(installNamed("3"));
    EXPECT_EQ(countIn("3"), 6u);
    EXPECT_EQ(countIn("003"), 5u);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully!")});

    messages.shown.clear();
    RecordingObserver observer;
    EXPECT_FALSE(installNamed("4", &observer));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Directory!")});
    EXPECT_EQ(observer.reports, (std::vector<TableReport>{{tableIn("4"), ResultCode::NoTable, 0, "", true}}));
}

}  // namespace
}  // namespace kitloom::test
