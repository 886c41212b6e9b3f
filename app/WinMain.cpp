#include "app/CommandLine.h"
#include "app/MainDialog.h"
#include "app/MessageBoxes.h"
#include "app/resources/resource.h"
#include "jobs/InstallJob.h"
#include "platform/FileSystem.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    using namespace kitloom;
    const StartRequest request = parseCommandLine(commandLine);
    MessageBoxes messages;
    switch (request.mode) {
    case RunMode::PathTooLong:
        show(messages, systemMessage(MessageId::PatchPathTooLong));
        return 0;
    case RunMode::InstallPatch:
        // The program's own rules: the game is the patch's folder, the art folder the fixed
        // one, or the one beside the saves of a game installed under another Program Files.
        showAll(messages,
                installJersey(systemFileSystem(), InstallRequest{request.patchPath, {}, {}, nullptr, {}}).messages);
        return 0;
    case RunMode::Form:
        break;
    }
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainDialogProc, 0));
}
