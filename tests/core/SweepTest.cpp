#include "core/GamePaths.h"
#include "core/SaveSweep.h"
#include "jobs/SystemMessages.h"

#include "tests/support/MemoryFileSystem.h"
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
    // Runs the job and keeps what the program would say of it.
    bool run(const SaveTarget& target, RecordingProgress* progress)
    {
        job = SaveSweep(systemFileSystem(), {false, progress ? progress->callback() : TableProgress{}})
                  .append(target, someSpec());
        showAll(messages, installMessages(job));
        return job.outcome == SweepOutcome::Done;
    }
    bool sweep(RecordingProgress* progress = nullptr)
    {
        return run(SaveTarget::everyNumberedSave(game.prefix()), progress);
    }
    bool installNamed(const std::string& folder, RecordingProgress* progress = nullptr)
    {
        return run(SaveTarget::namedSave(game.prefix(), folder), progress);
    }
    std::string tableIn(const std::string& folder) { return namedSaveTablePath(game.prefix(), folder); }
    TableReport reportOf(const std::string& folder, ResultCode result, std::uint32_t recordNumber = 0)
    {
        TableReport report;
        report.tablePath = tableIn(folder);
        report.result = result;
        report.recordNumber = recordNumber;
        return report;
    }
    std::uint32_t countIn(const std::string& folder)
    {
        return recordCountOf(readBytes(game.path() / "saves" / folder / "teamgear.dbf"));
    }

    TempFolder game;
    RecordingMessages messages;
    SweepReport job;
};

TEST_F(SweepTest, AppendsToEveryNumberedFolderUpToTheFirstMissingOne)
{
    for (const char* folder : {"000", "001", "002"})
        addSaveTable(game, folder, 5);

    EXPECT_TRUE(sweep());
    for (const char* folder : {"000", "001", "002"})
        EXPECT_EQ(countIn(folder), 6u) << folder;
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});
    EXPECT_EQ(job.firstMissing, game.prefix() + "saves" + kPathSeparator + "003");
    EXPECT_TRUE(job.unvisited.empty());
}

TEST_F(SweepTest, MissingFirstFolderInstallsNothing)
{
    addSaveTable(game, "001", 5);
    EXPECT_FALSE(sweep());
    EXPECT_EQ(countIn("001"), 5u);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Save Slot")});
    EXPECT_EQ(job.unvisited, std::vector<std::string>{game.prefix() + "saves" + kPathSeparator + "001"});
}

// The saves past the gap are named, so that a front end can say they were never visited.
TEST_F(SweepTest, AGapEndsTheSweep)
{
    for (const char* folder : {"000", "001", "003", "005"})
        addSaveTable(game, folder, 5);
    fs::create_directories(game.path() / "saves" / "004");
    EXPECT_TRUE(sweep());
    EXPECT_EQ(countIn("001"), 6u);
    EXPECT_EQ(countIn("003"), 5u);
    const std::string saves = game.prefix() + "saves" + kPathSeparator;
    EXPECT_EQ(job.firstMissing, saves + "002");
    EXPECT_EQ(job.unvisited, (std::vector<std::string>{saves + "003", saves + "005"}));
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

    RecordingProgress observer;
    EXPECT_TRUE(sweep(&observer));
    EXPECT_EQ(countIn("000"), 999u);
    EXPECT_EQ(countIn("001"), 6u);
    EXPECT_EQ(countIn("003"), 6u);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{success("Jersey Installed Succesfully")});
    EXPECT_EQ(
        observer.reports,
        (std::vector<TableReport>{reportOf("000", ResultCode::TableFull), reportOf("001", ResultCode::Appended, 6),
                                  reportOf("002", ResultCode::TableDamaged), reportOf("003", ResultCode::Appended, 6)}));

    messages.shown.clear();
    RecordingProgress stopping(2);
    sweep(&stopping);
    EXPECT_EQ(job.outcome, SweepOutcome::Stopped);
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
    RecordingProgress observer;
    EXPECT_FALSE(installNamed("4", &observer));
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Directory!")});
    EXPECT_EQ(observer.reports, (std::vector<TableReport>{reportOf("4", ResultCode::NoTable)}));
}

// A game folder so deep that no save's table path is one the system takes: the first table
// is one that cannot be opened, and the sweep ends there rather than asking for all 1000.
TEST(SweepNameTooLongTest, APathTooLongEndsTheSweepAtItsFirstTable)
{
    MemoryFileSystem files;
    files.tree.folders.insert({"/g", "/g/saves", "/g/saves/000", "/g/saves/001"});
    const Bytes table = makeTable(3);
    for (const char* save : {"/g/saves/000/teamgear.dbf", "/g/saves/001/teamgear.dbf"})
        files.tree.files[save] = std::string(table.begin(), table.end());
    files.tree.longestPath = 20;
    for (const SaveTarget& target : {SaveTarget::everyNumberedSave("/g/"), SaveTarget::namedSave("/g/", "001")}) {
        RecordingProgress progress;
        const SweepReport job = SaveSweep(files, {false, progress.callback()}).append(target, someSpec());
        ASSERT_EQ(progress.reports.size(), 1u);
        EXPECT_EQ(progress.reports[0].result, ResultCode::TableUnusable);
        EXPECT_TRUE(progress.reports[0].nameTooLong);
        EXPECT_EQ(job.outcome, SweepOutcome::NothingDone);
        EXPECT_TRUE(job.unvisited.empty());
        EXPECT_EQ(installMessages(job), std::vector<SystemMessage>{systemMessage(MessageId::TableUnusable)});
    }
}

}  // namespace
}  // namespace kitloom::test
