// kitloom-cli.exe started from Explorer, in a console window of its own (a double-click, or a
// patch opened with it), and from a terminal, in a console it shares.
#include "patch/PatchFormat.h"
#include "tests/e2e/KitloomProcess.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace kitloom::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kPrompt = "Press Enter to close this window.";

std::string programBesideThisTest(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + name;
}

// kitloom-cli.exe with its standard handles on pipes, so that the test reads and types.
struct CliProcess {
    UniqueHandle process, input, output;

    // `program` with `arguments`, in `currentFolder`; this test's own folder's by default.
    explicit CliProcess(DWORD creationFlags, const std::string& program = programBesideThisTest("kitloom-cli.exe"),
                        const std::string& arguments = {}, const std::string& currentFolder = {})
    {
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE childInput = nullptr, ourInput = nullptr, ourOutput = nullptr, childOutput = nullptr;
        if (!CreatePipe(&childInput, &ourInput, &inherited, 0) || !CreatePipe(&ourOutput, &childOutput, &inherited, 0))
            return;
        UniqueHandle childIn(childInput), childOut(childOutput);
        input = UniqueHandle(ourInput);
        output = UniqueHandle(ourOutput);
        SetHandleInformation(ourInput, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(ourOutput, HANDLE_FLAG_INHERIT, 0);

        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childInput;
        startup.hStdOutput = childOutput;
        startup.hStdError = childOutput;
        std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
        PROCESS_INFORMATION started{};
        if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, creationFlags, nullptr,
                           currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &started)) {
            UniqueHandle thread(started.hThread);
            process = UniqueHandle(started.hProcess);
        }
    }
    ~CliProcess()
    {
        if (process.valid() && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT)
            TerminateProcess(process.get(), 1);
    }

    // What it printed, until `until` shows up, it ends, or patience runs out.
    std::string readUntil(const std::string& until)
    {
        std::string seen;
        const DWORD start = GetTickCount();
        while (seen.find(until) == std::string::npos && GetTickCount() - start < kPatienceMs) {
            DWORD waiting = 0;
            if (!PeekNamedPipe(output.get(), nullptr, 0, nullptr, &waiting, nullptr))
                break;  // it ended and the pipe is closed
            if (waiting == 0) {
                Sleep(20);
                continue;
            }
            char buffer[4096];
            DWORD read = 0;
            if (!ReadFile(output.get(), buffer, sizeof buffer, &read, nullptr))
                break;
            seen.append(buffer, read);
        }
        return seen;
    }

    DWORD exitCode()
    {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process.get(), kPatienceMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.get(), &code);
        return code;
    }
};

TEST(KitloomCliConsoleTest, ADoubleClickShowsTheHelpAndWaitsForEnter)
{
    CliProcess cli(CREATE_NEW_CONSOLE);
    ASSERT_TRUE(cli.process.valid());

    const std::string shown = cli.readUntil(kPrompt);
    EXPECT_NE(shown.find("kitloom-cli"), std::string::npos) << shown;
    EXPECT_NE(shown.find("install"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("usage:"), std::string::npos) << shown;
    ASSERT_NE(shown.find(kPrompt), std::string::npos) << shown;
    EXPECT_EQ(WaitForSingleObject(cli.process.get(), 300), static_cast<DWORD>(WAIT_TIMEOUT)) << "closed unasked";

    DWORD written = 0;
    WriteFile(cli.input.get(), "\r\n", 2, &written, nullptr);
    EXPECT_EQ(cli.exitCode(), 0u);
}

// From a terminal, no command shows the help and is still a usage mistake to a script; it
// waits for no Enter.
TEST(KitloomCliConsoleTest, FromATerminalNoCommandIsStillAUsageMistake)
{
    CliProcess cli(0);  // this test's console, shared as a terminal's is
    ASSERT_TRUE(cli.process.valid());

    EXPECT_EQ(cli.exitCode(), 2u);
    const std::string shown = cli.readUntil("\n");
    EXPECT_EQ(shown.rfind("kitloom-cli 1.2: custom jerseys", 0), 0u) << shown;
    EXPECT_EQ(shown.find(kPrompt), std::string::npos) << shown;
}

// "Open with kitloom-cli.exe" on a patch where it was downloaded: the program, put into the
// game folder as the players' README says, finds the game there, and its window stays up
// with the report until Enter.
TEST(KitloomCliConsoleTest, APatchOpenedWhereItWasDownloadedGoesIntoTheGameOfTheProgramsFolder)
{
    ArtFolderTurn turn;  // the images may go to the game's fixed art folder, which tests share
    ASSERT_TRUE(turn.owned());
    test::TempFolder root;
    const fs::path game = root.path() / "Dunkmere";
    test::writeBytes(game / "saves" / "000" / "teamgear.dbf", test::makeTable(3));
    fs::create_directories(game / "render");
    fs::copy_file(programBesideThisTest("kitloom-cli.exe"), game / "kitloom-cli.exe");
    const fs::path downloads = root.path() / "Downloads";
    JerseySpec spec = test::exampleJersey(2);
    std::copy_n("DOWN", 4, spec.jerseyName.begin());
    test::writeBytes(downloads / "toronto 98.jer", test::toBytes(encodePatch("dl", spec)));
    test::writeBytes(downloads / "dlDOWN.fsh", test::toBytes("image"));
    test::writeBytes(downloads / "dlDOWN_num.fsh", test::toBytes("number image"));

    CliProcess cli(CREATE_NEW_CONSOLE, (game / "kitloom-cli.exe").string(), "\"toronto 98.jer\"", downloads.string());
    ASSERT_TRUE(cli.process.valid());
    const std::string shown = cli.readUntil(kPrompt);
    EXPECT_NE(shown.find("game: " + game.string() + "\r\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("teamgear.dbf: added as record 4"), std::string::npos) << shown;
    EXPECT_NE(shown.find("SUCCESS: Jersey Installed Succesfully"), std::string::npos) << shown;
    ASSERT_NE(shown.find(kPrompt), std::string::npos) << shown;
    EXPECT_EQ(WaitForSingleObject(cli.process.get(), 300), static_cast<DWORD>(WAIT_TIMEOUT)) << "closed unasked";
    EXPECT_EQ(test::recordCountOf(test::readBytes(game / "saves" / "000" / "teamgear.dbf")), 4u);

    DWORD written = 0;
    WriteFile(cli.input.get(), "\r\n", 2, &written, nullptr);
    EXPECT_EQ(cli.exitCode(), 0u);
}

}  // namespace
}  // namespace kitloom::e2e
