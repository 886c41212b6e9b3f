#include "tests/e2e/KitloomProcess.h"

#include <gtest/gtest.h>

#include <vector>

namespace kitloom::test {

void PrintTo(const ShownMessage& message, std::ostream* out)
{
    *out << (message.kind == MessageKind::Error ? "ERROR" : "SUCCESS") << " \"" << message.text << "\"";
}

}  // namespace kitloom::test

namespace kitloom::e2e {

namespace {

constexpr DWORD kPollMs = 25;

std::string programFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

// Polls `done` until it holds or the patience time is up.
bool waitFor(const std::function<bool()>& done)
{
    const ULONGLONG deadline = GetTickCount64() + kPatienceMs;
    for (;;) {
        if (done())
            return true;
        if (GetTickCount64() > deadline)
            return false;
        Sleep(kPollMs);
    }
}

std::string className(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK collectDialog(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && className(window) == "#32770")
        search->found.push_back(window);
    return TRUE;
}

LRESULT sendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kPatienceMs, &result))
        ADD_FAILURE() << "the program did not answer message " << message << " in time";
    return static_cast<LRESULT>(result);
}

}  // namespace

KitloomProcess::KitloomProcess(const std::filesystem::path& currentFolder, const std::string& arguments)
{
    const std::string program = programFolder() + "kitloom.exe";
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentFolder.string().c_str(), &startup, &started)) {
        ADD_FAILURE() << "could not start " << program << " (error " << GetLastError() << ")";
        return;
    }
    UniqueHandle thread(started.hThread);
    process_ = UniqueHandle(started.hProcess);
    processId_ = started.dwProcessId;
}

KitloomProcess::~KitloomProcess()
{
    if (!started())
        return;
    if (running()) {
        ADD_FAILURE() << "kitloom.exe was still running at the end of the test, and is ended";
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), kPatienceMs);
    }
}

bool KitloomProcess::running() const { return started() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::vector<HWND> KitloomProcess::dialogs() const
{
    WindowSearch search{processId_, {}};
    EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND KitloomProcess::waitForDialog(const std::function<bool(HWND)>& matches) const
{
    HWND found = nullptr;
    waitFor([&] {
        for (HWND window : dialogs()) {
            if (matches(window)) {
                found = window;
                return true;
            }
        }
        return !running();
    });
    return found;
}

HWND KitloomProcess::waitForDialog(const std::string& wanted) const
{
    return waitForDialog([&](HWND window) { return caption(window) == wanted; });
}

std::optional<ShownMessage> KitloomProcess::acknowledgeMessage() const
{
    HWND box = waitForDialog(isMessageBox);
    if (!box)
        return std::nullopt;
    char message[512] = {};
    GetDlgItemTextA(box, 0xFFFF, message, sizeof message);
    const MessageKind kind = caption(box) == "ERROR" ? MessageKind::Error : MessageKind::Success;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    if (!waitUntilGone(box))
        ADD_FAILURE() << "the message box \"" << message << "\" stayed after OK";
    return ShownMessage{kind, message};
}

KitloomProcess::Ending KitloomProcess::acknowledgeUntilExit() const
{
    Ending ending;
    bool moving = true;
    while (moving) {
        moving = waitFor([&] {
            if (!running())
                return true;
            for (HWND window : dialogs()) {
                if (isMessageBox(window))
                    return true;
                if (caption(window) == "Kitloom")
                    ending.formShown = true;
            }
            return false;
        });
        if (!moving || !running())
            break;
        if (std::optional<ShownMessage> shown = acknowledgeMessage())
            ending.messages.push_back(*shown);
    }
    DWORD code = 0;
    if (!running() && GetExitCodeProcess(process_.get(), &code))
        ending.exitCode = code;
    return ending;
}

bool isMessageBox(HWND window)
{
    const std::string text = caption(window);
    return text == "ERROR" || text == "SUCCESS";
}

std::string caption(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool waitUntilGone(HWND window)
{
    return waitFor([&] { return !IsWindow(window); });
}

void setText(HWND dialog, int id, const std::string& text)
{
    sendWithin(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string text(HWND dialog, int id)
{
    char buffer[256] = {};
    sendWithin(GetDlgItem(dialog, id), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

void selectRow(HWND dialog, int id, int row) { sendWithin(GetDlgItem(dialog, id), CB_SETCURSEL, row, 0); }

int selectedRow(HWND dialog, int id)
{
    return static_cast<int>(sendWithin(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

int rowCount(HWND dialog, int id) { return static_cast<int>(sendWithin(GetDlgItem(dialog, id), CB_GETCOUNT, 0, 0)); }

void postCommand(HWND window, int id) { PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }

}  // namespace kitloom::e2e
