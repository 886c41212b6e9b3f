#include "app/CommandLine.h"
#include "app/MainDialog.h"
#include "app/resources/resource.h"
#include "patch/PatchInstaller.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    using namespace kitloom;
    const StartRequest request = parseCommandLine(commandLine);
    MessageBoxes messages;
    switch (request.mode) {
    case RunMode::PathTooLong:
        showError(messages, "The patch path is too long!");
        return 0;
    case RunMode::InstallPatch:
        installPatch(request.patchPath, kGameArtFolder, systemFileSystem(), messages);
        return 0;
    case RunMode::Form:
        break;
    }
    return static_cast<int>(
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainDialogProc, 0));
}
