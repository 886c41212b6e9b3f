#include "core/SaveSweep.h"

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

    EXPECT_EQ(SaveSweep(systemFileSystem()).appendToTable(table, spec()).result, ResultCode::Appended);
    EXPECT_EQ(recordCountOf(readBytes(table)), 6u);
}

TEST(TableSharingTest, TableLockedElsewhereIsRefusedUntouched)
{
    TempFolder game;
    std::string table = addSaveTable(game, "000", 5).string();
    {
        const UniqueHandle locked = openElsewhere(table, 0);
        ASSERT_TRUE(locked.valid());

        const TableReport report = SaveSweep(systemFileSystem()).appendToTable(table, spec());
        EXPECT_EQ(report.result, ResultCode::TableUnusable);
        EXPECT_NE(report.reason, "") << "the system says why";
    }
    EXPECT_EQ(readBytes(table), makeTable(5));
}

}  // namespace
}  // namespace kitloom::test
