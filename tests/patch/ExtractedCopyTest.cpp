#include "patch/ExtractedCopy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kitloom::test {
namespace {

struct Folder {
    std::string path;
    ExtractedBy madeBy;
};

void expectAll(const std::vector<Folder>& folders)
{
    for (const Folder& folder : folders)
        EXPECT_EQ(extractedCopyFolder(folder.path), folder.madeBy) << folder.path;
}

TEST(ExtractedCopyTest, KnowsTheCopiesOfWindowsArchivePrograms)
{
    expectAll({
        {R"(C:\Users\Ana\AppData\Local\Temp\Temp1_munich_kits.zip)", ExtractedBy::WindowsExplorer},
        {R"(C:\Users\Ana\AppData\Local\Temp\Temp12_munich kits (1).zip\munich)", ExtractedBy::WindowsExplorer},
        {"c:/users/ana/appdata/local/temp/TEMP2_Kits.ZIP/", ExtractedBy::WindowsExplorer},
        {R"(C:\Users\JOHNDO~1\AppData\Local\Temp\7zO4FB31F24)", ExtractedBy::SevenZip},
        {R"(C:\Users\Ana\AppData\Local\Temp\7zo864f92fd\kits\)", ExtractedBy::SevenZip},
        {R"(C:\Users\Ana\AppData\Local\Temp\Rar$EXa0.638)", ExtractedBy::WinRar},
        {R"(C:\Users\Ana\AppData\Local\Temp\Rar$EXb15528.13350\Kits)", ExtractedBy::WinRar},
        {R"(C:\Users\Ana\AppData\Local\Temp\RAR$DIa25472.41565.rartemp)", ExtractedBy::WinRar},
        // 7-Zip under Wine, seen from Linux.
        {"/home/ana/.wine/drive_c/users/ana/AppData/Local/Temp/7zO05433053", ExtractedBy::SevenZip},
    });
}

TEST(ExtractedCopyTest, KnowsTheCopiesOfLinuxArchiveProgramsAndThePortal)
{
    expectAll({
        {"/home/ana/.cache/.fr-KwXqja", ExtractedBy::FileRoller},
        {"/tmp/.fr-AXPA91/munich/", ExtractedBy::FileRoller},
        {"/tmp/ark-Ab12cd", ExtractedBy::Ark},
        {"/var/tmp/ark-x9Y8z7/kits", ExtractedBy::Ark},
        {"/run/user/1000/doc/5f3a1b2c", ExtractedBy::DesktopPortal},
        {"/run/user/1000/doc/by-app/org.example.Kits/5f3a1b2c/", ExtractedBy::DesktopPortal},
        // The portal's folder as a Windows program under Wine names it.
        {R"(Z:\run\user\1000\doc\5f3a1b2c)", ExtractedBy::DesktopPortal},
    });
}

TEST(ExtractedCopyTest, APlayersOwnFoldersOfLikeNamesAreNoCopies)
{
    expectAll({
        {"", ExtractedBy::None},
        {"/", ExtractedBy::None},
        {R"(C:\Users\Ana\AppData\Local\Temp)", ExtractedBy::None},
        {R"(C:\Games\Dunkmere\Temp)", ExtractedBy::None},
        {R"(D:\Temp1\kits)", ExtractedBy::None},
        {R"(D:\Temp1_kits)", ExtractedBy::None},
        {R"(D:\Temp_kits.zip)", ExtractedBy::None},
        {R"(D:\Temp1_.zip)", ExtractedBy::None},
        {R"(D:\Downloads\munich_kits.zip)", ExtractedBy::None},
        {R"(D:\7zip\kits)", ExtractedBy::None},
        {R"(D:\7zOkits)", ExtractedBy::None},
        {R"(D:\7zO4FB31F2)", ExtractedBy::None},
        {R"(D:\7zO4FB31F24x)", ExtractedBy::None},
        {R"(D:\Rar\kits)", ExtractedBy::None},
        {R"(D:\Rar$EXa)", ExtractedBy::None},
        {R"(D:\Rar$EXa12)", ExtractedBy::None},
        {R"(D:\Rar$EXa12.)", ExtractedBy::None},
        {R"(D:\Rar$EXa12.34kits)", ExtractedBy::None},
        {"/home/ana/docs/kits", ExtractedBy::None},
        {"/home/ana/doc/5f3a1b2c", ExtractedBy::None},
        {"/run/user/1000/doc", ExtractedBy::None},
        {"/run/user/1000/doc/by-app/org.example.Kits", ExtractedBy::None},
        {"/run/user/ana/doc/5f3a1b2c", ExtractedBy::None},
        {"/home/ana/.fr-kits", ExtractedBy::None},
        {"/home/ana/fr-KwXqja", ExtractedBy::None},
        {"/home/ana/.FR-KwXqja", ExtractedBy::None},
        {"/home/ana/ark-kitsv2", ExtractedBy::None},
        {"/tmp/ark-kits", ExtractedBy::None},
        {"/tmp/arkade/kits", ExtractedBy::None},
    });
}

}  // namespace
}  // namespace kitloom::test
