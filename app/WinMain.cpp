#include "app/CommandLine.h"
#include "app/MainDialog.h"
#include "app/MessageBoxes.h"
#include "app/resources/resource.h"
#include "core/GamePaths.h"
#include "form/SystemMessages.h"
#include "patch/PatchInstaller.h"
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
    case RunMode::InstallPatch: {
        PatchInstallOptions options;
        options.artFolderBesideSaves = true;  // a game installed under another Program Files
        showAll(messages,
                patchInstallMessages(installPatch(request.patchPath, kGameArtFolder, systemFileSystem(), options)));
        return 0;
    }
    case RunMode::Form:
        break;
    }
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainDialogProc, 0));
}
