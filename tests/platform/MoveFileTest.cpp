#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace kitloom::test {
namespace {

namespace fs = std::filesystem;

TEST(MoveFileTest, NeverReplacesAnExistingDestination)
{
    TempFolder folder;
    writeBytes(folder / "from", toBytes("source"));
    writeBytes(folder / "to", toBytes("destination"));
    EXPECT_EQ(systemFileSystem().moveFile(folder / "from", folder / "to").result, MoveResult::DestinationExists);
    EXPECT_EQ(readBytes(folder / "from"), toBytes("source"));
    EXPECT_EQ(readBytes(folder / "to"), toBytes("destination"));

    EXPECT_EQ(systemFileSystem().moveFile(folder / "from", folder / "new").result, MoveResult::Moved);
    EXPECT_FALSE(fs::exists(folder / "from"));
    EXPECT_EQ(readBytes(folder / "new"), toBytes("source"));
    EXPECT_EQ(systemFileSystem().moveFile(folder / "from", folder / "again").result, MoveResult::Failed);
}

#ifndef _WIN32
// /dev/shm is a memory file system, so a move there crosses volumes and has to copy.
TEST(MoveFileTest, AcrossVolumesCopiesWithoutReplacing)
{
    TempFolder here;
    const fs::path there = fs::path("/dev/shm") / here.path().filename();
    if (!fs::create_directory(there))
        GTEST_SKIP() << "no /dev/shm here";
    writeBytes(here / "image.fsh", toBytes("image"));
    writeBytes(there / "taken.fsh", toBytes("kept"));

    EXPECT_EQ(systemFileSystem().moveFile(here / "image.fsh", (there / "taken.fsh").string()).result,
              MoveResult::DestinationExists);
    EXPECT_EQ(readBytes(there / "taken.fsh"), toBytes("kept"));
    EXPECT_EQ(systemFileSystem().moveFile(here / "image.fsh", (there / "image.fsh").string()).result, MoveResult::Moved);
    EXPECT_EQ(readBytes(there / "image.fsh"), toBytes("image"));
    EXPECT_FALSE(fs::exists(here.path() / "image.fsh"));
    fs::remove_all(there);
}
#endif

}  // namespace
}  // namespace kitloom::test
