#pragma once

#include "platform/UniqueHandle_win.h"
#include "tests/support/TestSupport.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kitloom::test {
// How GoogleTest shows a message box in a failure: ERROR "text".
void PrintTo(const ShownMessage& message, std::ostream* out);
}  // namespace kitloom::test

namespace kitloom::e2e {

using test::ShownMessage;

// How long any one thing the program does may take before the test gives up on it.
inline constexpr DWORD kPatienceMs = 10000;

// kitloom.exe, started from the folder of this test program, and killed when the test
// leaves it still running: a hung program fails its test instead of the whole run.
class KitloomProcess {
public:
    // `arguments` is the command line after the program's name.
    explicit KitloomProcess(const std::filesystem::path& currentFolder, const std::string& arguments = {});
    KitloomProcess(const KitloomProcess&) = delete;
    KitloomProcess& operator=(const KitloomProcess&) = delete;
    ~KitloomProcess();

    bool started() const { return process_.valid(); }
    bool running() const;

    // The visible dialog windows (message boxes included) of this process.
    std::vector<HWND> dialogs() const;
    // The first visible dialog of this process that `matches`, within the patience time;
    // null when none came or the process ended.
    HWND waitForDialog(const std::function<bool(HWND)>& matches) const;
    HWND waitForDialog(const std::string& caption) const;
    HWND waitForMainDialog() const { return waitForDialog("Kitloom"); }

    // Reads the next message box, presses its OK and waits for it to go.
    std::optional<ShownMessage> acknowledgeMessage() const;

    struct Ending {
        std::vector<ShownMessage> messages;  // acknowledged on the way, in order
        bool formShown = false;
        std::optional<DWORD> exitCode;  // none when the program did not end in time
    };
    // Acknowledges every message box until the process ends.
    Ending acknowledgeUntilExit() const;

private:
    UniqueHandle process_;
    DWORD processId_ = 0;
};

// The game's art folder is one fixed path in the Wine prefix that every test shares:
// tests that depend on it take turns.
class ArtFolderTurn {
public:
    ArtFolderTurn() : mutex_(CreateMutexA(nullptr, FALSE, "kitloom-e2e-art-folder"))
    {
        const DWORD waited = WaitForSingleObject(mutex_.get(), 6 * kPatienceMs);
        owned_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ArtFolderTurn(const ArtFolderTurn&) = delete;
    ArtFolderTurn& operator=(const ArtFolderTurn&) = delete;
    ~ArtFolderTurn()
    {
        if (owned_)
            ReleaseMutex(mutex_.get());
    }
    bool owned() const { return owned_; }

private:
    UniqueHandle mutex_;
    bool owned_ = false;
};

bool isMessageBox(HWND window);
std::string caption(HWND window);
// Waits until `window` is destroyed.
bool waitUntilGone(HWND window);

// The form's controls of another process, by id; each call gives up after the patience time.
void setText(HWND dialog, int id, const std::string& text);
std::string text(HWND dialog, int id);
void selectRow(HWND dialog, int id, int row);
int selectedRow(HWND dialog, int id);
int rowCount(HWND dialog, int id);
// Queues a command, as a click on a button or menu item does.
void postCommand(HWND window, int id);

}  // namespace kitloom::e2e
