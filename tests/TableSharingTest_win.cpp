#include "core/TeamGearFile.h"

#include "platform/UniqueHandle_win.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace kitloom::test {
namespace {

// Another program holding the table open, with the sharing it chose.
UniqueHandle openElsewhere(const std::string& path, DWORD shareMode)
{
    return UniqueHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, shareMode, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

JerseySpec spec()
{
    JerseySpec jersey;
    jersey.jerseyName = {'S', 'H', 'R', 'D'};
    jersey.year = {'2', '0', '0', '2', '-', '0', '3', 0};
    return jersey;
}

TEST(TableSharingTest, TableOpenElsewhereWithSharingStillGetsTheJersey)
{
    TempFolder game;
    std::string table = addSaveTable(game, "000", 5).string();
    const UniqueHandle gameRunning = openElsewhere(table, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(gameRunning.valid());

    RecordingMessages messages;
    EXPECT_EQ(TeamGearFile(systemFileSystem(), messages).appendJersey(table, spec(), true), ResultCode::Appended);
    EXPECT_EQ(recordCountOf(readBytes(table)), 6u);
}

TEST(TableSharingTest, TableLockedElsewhereIsRefusedUntouched)
{
    TempFolder game;
    std::string table = addSaveTable(game, "000", 5).string();
    {
        const UniqueHandle locked = openElsewhere(table, 0);
        ASSERT_TRUE(locked.valid());

        RecordingMessages messages;
        EXPECT_EQ(TeamGearFile(systemFileSystem(), messages).appendJersey(table, spec(), true),
                  ResultCode::TableUnusable);
        EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("The team gear file couldn't be opened!")});
    }
    EXPECT_EQ(readBytes(table), makeTable(5));
}

}  // namespace
}  // namespace kitloom::test
